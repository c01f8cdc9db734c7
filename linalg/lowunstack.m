% LOWUNSTACK  Rebuilds a square matrix from its stacked triangle.
%
%   A = lowunstack(v)
%   A = lowunstack(v, kind)
%
%   v     vector of n(n+1)/2 doubles (full; complex allowed), at most 2-D.
%   kind  first element truncated: 0 (default, and any value other than 1
%         or 2) a symmetric matrix from the column-order stack; 1 an upper
%         triangular matrix from the row-order stack; 2 a lower triangular
%         matrix from the column-order stack.
%   A     n-by-n, complex when v is.
%
%   Errors (exact messages):
%     "Not enough input arguments."                 no input
%     "Too many input arguments."                   more than two inputs
%     "Too many output arguments."
%         more than one output requested
%     "Function 'lowunstack' not defined for variables of input class"
%         v not double, or sparse; kind not numeric
%     "Input arguments must be 2-D."
%         v with more than two dimensions
%     "Input vector is of improper size."
%         numel(v) not of the form n(n+1)/2
%
%   Example:
%     lowunstack([1; 3; 4])      % [1 3; 3 4]
%     lowunstack([1; 3; 4], 2)   % [1 0; 3 4]
%
%   See also lowstack.
