% TRISOLVE  Solution of A x = b from given triangular factors A(p, q) = L U.
%
%   x = trisolve(L, U, p, q, b)
%
%   L, U  n-by-n real double, full or sparse; only the lower triangle of L and
%         the upper triangle of U (diagonals included) are read.
%   p, q  row and column permutations (full vectors of n indices in 1..n,
%         truncated toward zero), or [] for none.
%   b     n-by-k real double (full).
%   x     n-by-k: x(q, :) = U \ (L \ b(p, :)). Zero diagonal entries are not
%         tested (infinities or NaN follow).
%
%   Errors (exact messages):
%     "Five arguments must be passed"               not exactly five inputs
%     "Only one output is produced by TriSolve"
%         more than one output requested
%     "Input arguments of inproper type"
%         L, U not double; p, q, b not full double
%     "Only real inputs are supported"              a complex input
%     "First input must be square"                  L not square
%     "Second input must be square"                 U not n-by-n
%     "Inputs are not comformable"                  b without n rows
%     "Row permutation index is the wrong size"
%         p neither empty nor of n elements
%     "Row permutation index is out of range"
%         an entry of p outside 1..n, or NaN
%     "Column permutation index is the wrong size"
%         q neither empty nor of n elements
%     "Column permutation index is out of range"
%         an entry of q outside 1..n, or NaN
%
%   Example:
%     [L, U, P] = lu(A);  p = P * (1:rows(A))';
%     x = trisolve(L, U, p, [], b);   % A \ b
%
%   See also batchsolve.
