% LOWSTACK  Stacks a triangle of a square matrix into a column.
%
%   v = lowstack(A)
%   v = lowstack(A, order)
%
%   A      n-by-n double matrix (full; complex allowed).
%   order  1 stacks the upper triangle row by row; anything else (default)
%          the lower triangle column by column. For a symmetric A both give
%          the same column.
%   v      n(n+1)/2-by-1, complex when A is.
%
%   Errors (exact messages):
%     "Not enough input arguments."                 no input
%     "Too many input arguments."                   more than two inputs
%     "Too many output arguments."
%         more than one output requested
%     "Function 'lowstack' not defined for variables of input class"
%         A not double, or sparse; order not numeric
%     "Input matrix must be square"                 A not square
%
%   Example:
%     lowstack([1 2; 3 4])      % [1; 3; 4]
%     lowstack([1 2; 3 4], 1)   % [1; 2; 4]
%
%   See also lowunstack, rowlowstack.
