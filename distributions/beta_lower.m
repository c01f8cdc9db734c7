% BETA_LOWER  Beta cumulative distribution function, I_x(a, b).
%
%   p = beta_lower(x, a, b)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   a, b  shape parameters, both >= 1e-37.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      Near full double precision. Points below 0 give 0, above 1 give 1; NaN
%      gives 0.
%
%   Errors (exact messages):
%     "beta_lower: 3 inputs required."         wrong number of inputs
%     "beta_lower: 1 output argument"
%         other than exactly one output (none included)
%     "beta_lower: x must be a double array."  x not of class double
%     "beta_lower: a or b < 1e-37"             a or b below 1e-37 or NaN
%
%   Example:
%     beta_lower([0.1; 0.5; 0.9], 2, 3)
%
%   See also fisherf_lower, studentt_lower.
