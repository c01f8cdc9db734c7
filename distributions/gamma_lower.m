% GAMMA_LOWER  Gamma cumulative distribution function, P(a, x).
%
%   p = gamma_lower(x, a)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   a  shape (the scale is 1), a >= 1e-37; +Inf is allowed.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      Near full double precision. A NaN point or x <= 0 gives 0, x = Inf
%      gives 1.
%
%   Errors (exact messages):
%     "gamma_lower: 2 inputs required."         wrong number of inputs
%     "gamma_lower: 1 output argument"
%         other than exactly one output (none included)
%     "gamma_lower: x must be a double array."  x not of class double
%     "gamma_lower: a < 1e-37"                  a below 1e-37 or NaN
%
%   Example:
%     gamma_lower([1; 2], 1)   % 1 - exp(-1), 1 - exp(-2)
%
%   See also chisquare_lower, poisson_lower.
