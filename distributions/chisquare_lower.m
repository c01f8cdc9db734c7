% CHISQUARE_LOWER  Chi-square cumulative distribution function.
%
%   p = chisquare_lower(x, a)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   a  degrees of freedom, a >= 1e-37.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      Near full double precision. A NaN point or x <= 0 gives 0, x = Inf
%      gives 1.
%
%   Errors (exact messages):
%     "chisquare_lower: 2 inputs required."         wrong number of inputs
%     "chisquare_lower: 1 output argument"
%         other than exactly one output (none included)
%     "chisquare_lower: x must be a double array."  x not of class double
%     "chisquare_lower: a < 1e-37"                  a below 1e-37 or NaN
%
%   Example:
%     chisquare_lower(3.841458820694124, 1)   % 0.95
%
%   See also gamma_lower, noncentralchi2_lower.
