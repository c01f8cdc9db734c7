% NEGBINOMIAL_LOWER  Negative binomial cumulative distribution function.
%
%   p = negbinomial_lower(x, a, b)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   x  number of failures before the a-th success.
%   a  number of successes, a >= 1e-37.
%   b  success probability, 0 <= b <= 1.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      Counts are not rounded: a fractional x interpolates continuously. NaN
%      gives 0.
%
%   Errors (exact messages):
%     "negbinomial_lower: 3 inputs required."       wrong number of inputs
%     "negbinomial_lower: 1 output argument"
%         other than exactly one output (none included)
%     "negbinomial_lower: x must be a double array."  x not of class double
%     "negbinomial_lower: # of trials < 1e-37"      a below 1e-37 or NaN
%     "negbinomial_lower: 0 < prob < 1"             b outside [0, 1] or NaN
%
%   Example:
%     negbinomial_lower([0; 1; 2], 3, 0.4)
%
%   See also beta_lower.
