% ROWKRON  Row-wise Kronecker product.
%
%   C = rowkron(A, B)
%
%   A  m-by-p and B  m-by-q real double matrices, full or sparse.
%   C  m-by-p*q: C(r, :) = kron(A(r, :), B(r, :)). C is sparse when A or B
%      is; with two sparse inputs a product of stored entries is stored even
%      when it is 0. An empty A returns B itself, an empty B returns A.
%
%   Errors (exact messages):
%     "Two parameters must be passed"               not exactly two inputs
%     "Inputs must be full or sparse double matrices"  A or B not double
%     "Complex matrices not supported in rowkron"   a complex input
%     "Matrices must have the same number of rows"
%         rows(A) differs from rows(B)
%     "Requested array exceeds the maximum possible size."
%         p*q or the number of entries overflows
%
%   Example:
%     rowkron([1 2; 3 4], [5 6; 7 8])   % [5 6 10 12; 21 24 28 32]
%
%   See also tensormul.
