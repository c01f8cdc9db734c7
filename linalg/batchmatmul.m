% BATCHMATMUL  Batched small matrix products.
%
%   C = batchmatmul(A, B, n, p, q, r)
%
%   A     n*p*q doubles: A(l, i, k) is entry (i, k) of A_l (an n-by-p-by-q array).
%   B     n*q*r doubles: B(l, k, j) is entry (k, j) of B_l.
%   n, p, q, r  sizes (scalars, truncated toward zero, finite, non-negative).
%   C     n-by-p-by-r array: C(l, :, :) = A_l * B_l, each entry summed over k
%         in increasing order. A trailing dimension of 1 is dropped.
%
%   Errors (exact messages):
%     "Six arguments must be passed"                not exactly six inputs
%     "BatchMatMul produces only one output"
%         more than one output requested
%     "Input arguments of inproper type"
%         an input not double, or sparse
%     "n, p, q, and r must be scalars"
%         a size with other than one element
%     "n, p, q, and r must be finite and non-negative"
%         a negative, NaN or infinite size
%     "n, p, q, and r are too large"                a size above 2^53
%     "A is of improper size"
%         numel(A) differs from n*p*q
%     "B is of improper size"
%         numel(B) differs from n*q*r
%     "BatchMatMul output is too large"
%         n*p*r does not fit in memory addresses
%
%   Example:
%     C = batchmatmul(rand(10, 2, 3), rand(10, 3, 4), 10, 2, 3, 4);   % 10-by-2-by-4
%
%   See also batchsolve.
