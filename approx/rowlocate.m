% ROWLOCATE  Row of B equal, or nearest in L1 distance, to each row of A.
%
%   I = rowlocate(A, B)
%
%   A  m-by-n and B  k-by-n real double matrices (full).
%   I  m-by-1 column of row numbers of B: the first row of B equal to A(i, :),
%      or else the first row at the smallest sum of absolute differences.
%      Rows whose distances are all NaN, and every row when B is empty, get 1.
%
%   Errors (exact messages):
%     "Not enough input arguments."                 fewer than two inputs
%     "Too many input arguments."                   more than two inputs
%     "Too many output arguments."
%         more than one output requested
%     "Function not defined for variables of input class"
%         an input not double, or sparse
%     "Arguments must be real."                     a complex input
%     "Inputs must have equal numbers of columns."
%         columns(A) differs from columns(B)
%
%   Example:
%     rowlocate([1 2; 5 5], [0 0; 1 2; 5 6])   % [2; 3]
%
%   See also lookup.
