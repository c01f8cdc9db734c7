% POISSON_LOWER  Poisson cumulative distribution function.
%
%   p = poisson_lower(x, a)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   a  mean, a >= 1e-37.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      Counts are not rounded: a fractional x gives the continuous
%      interpolation Q(x + 1, a). x = -1 gives 0; counts below -1 and NaN
%      give NaN.
%
%   Errors (exact messages):
%     "poisson_lower: 2 inputs required."         wrong number of inputs
%     "poisson_lower: 1 output argument"
%         other than exactly one output (none included)
%     "poisson_lower: x must be a double array."  x not of class double
%     "poisson_lower: a < 1e-37"                  a below 1e-37 or NaN
%
%   Example:
%     poisson_lower([0; 1; 2], 1)   % exp(-1), 2 exp(-1), 2.5 exp(-1)
%
%   See also gamma_lower.
