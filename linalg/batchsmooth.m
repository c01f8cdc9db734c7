% BATCHSMOOTH  Fischer-Burmeister smoothing of box-constrained residuals.
%
%   phi = batchsmooth(x, a, b, f)
%   [phi, dphi_f, dphi_b] = batchsmooth(x, a, b, f)
%
%   x       points, any shape, N elements (real double, full).
%   a, b    lower and upper bounds, N elements or one for all; an infinite
%           bound (of either sign) is absent.
%   f       N function values (full double). Inputs beyond the fourth are
%           ignored.
%   phi     U(b - x, L(a - x, f)) element by element, with
%           L(p, q) = p + q + sqrt(p^2 + q^2) and U(p, q) = p + q - sqrt(p^2 + q^2)
%           (evaluated without cancellation); shaped like f.
%   dphi_f  d phi / d f;  dphi_b  d phi / d(a - x) + d phi / d(b - x). For f
%           depending on x with derivative J, d phi / dx = dphi_f J - dphi_b.
%   x exactly at a finite bound with the value entering that stage exactly 0
%   gives NaN.
%
%   Errors (exact messages):
%     "4 input arguments must be passed"            fewer than four inputs
%     "All inputs must be full matrices"
%         x, a, b (or, after the size checks, f) not double, or sparse
%     "Only three output arguments are produced"
%         more than three outputs requested
%     "Lower bound matrix is improperly specified"  numel(a) neither N nor 1
%     "Upper bound matrix is improperly specified"  numel(b) neither N nor 1
%     "Function value matrix is improperly specified"  numel(f) differs from N
%
%   Example:
%     [phi, df, db] = batchsmooth([0.2 0.5 0.9], 0, 1, [0.3 -0.1 2]);
%
%   See also batchminmax.
