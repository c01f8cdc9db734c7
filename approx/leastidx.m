% LEASTIDX  Column of the minimum of each row, as uint32.
%
%   j = leastidx(X)
%
%   X  m-by-n real double matrix (full); further inputs are ignored.
%   j  m-by-1 uint32 column numbers of the first minimum of each row (the
%      rules of leastvals: a NaN in the first column stays the minimum, NaN
%      in later columns is skipped). With no columns, j is 0.
%
%   Errors (exact messages):
%     "No input argument passed."                   no input
%     "Matrix must be double"                       X not double
%     "Matrix must be full (not sparse)"            sparse X
%     "Matrix must be real"                         complex X
%     "Matrix has too many columns for uint32 column numbers"
%         more than 2^32 - 1 columns
%     "Out of memory."
%         no room for the scratch column
%
%   Example:
%     leastidx([3 1 2; 5 5 4])   % uint32([2; 3])
%
%   See also leastvals.
