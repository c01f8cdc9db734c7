% ROWLOWSTACK  Stacked outer products of the rows of a matrix.
%
%   Y = rowlowstack(X, m, n)
%
%   X     L-by-m*n real double (full); row r read as the m-by-n matrix Z
%         (column order).
%   m, n  scalars, truncated toward zero.
%   Y     L-by-m(m+1)/2: row r is lowstack(Z*Z') with the diagonal of Z*Z'
%         halved.
%
%   Errors (exact messages):
%     "Three arguments must be passed"              not exactly three inputs
%     "ROWLOWSTACK produce only on  output"
%         more than one output requested
%     "Inputs must be full double matrices"
%         an input not double, or sparse
%     "m must be a scalar"
%         m with other than one element
%     "n must be a scalar"
%         n with other than one element
%     "Inputs are incompatible"
%         columns(X) differs from m*n, or m, n negative or NaN
%     "Requested array exceeds the maximum possible size."
%         sizes too large to allocate
%
%   Example:
%     rowlowstack([1 2], 2, 1)   % [0.5 2 2]
%
%   See also lowstack.
