% ROWCOLSCALE  Product with a diagonal matrix given as a vector.
%
%   C = rowcolscale(X, Y)
%
%   X a matrix (not a vector):  C = X * diag(Y), Y a vector of columns(X)
%                               elements.
%   X a scalar:                 C = X * Y for any Y.
%   X any other vector:         C = diag(X) * Y, Y with numel(X) rows.
%   Full and sparse operands keep their storage; a sparse result has exactly
%   the structure of the matrix operand (an entry scaled to 0 stays stored).
%
%   Errors (exact messages):
%     "Two parameters must be passed"       not exactly two inputs
%     "Only one output is created"          more than one output requested
%     "Inputs must be matrices"             X or Y not double
%     "Inputs must be real"                 a complex input
%     "One of the inputs must be a vector"  X and Y both matrices
%     "Inputs are not comformable"          the vector's length does not match
%
%   Example:
%     rowcolscale([1 2; 3 4], [10 100])   % [10 200; 30 400]
%     rowcolscale([2; 3], [1 1; 1 1])     % [2 2; 3 3]
%
%   See also rowkron.
