% NONCENTRALF_LOWER  Noncentral F cumulative distribution function.
%
%   p = noncentralf_lower(x, a, b, c)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   a  numerator, b  denominator degrees of freedom, c  noncentrality;
%      all >= 1e-37.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      The Poisson mixture is summed to a relative 1e-4 of the sum. x <= 0
%      and NaN give 0.
%
%   Errors (exact messages):
%     "noncentralf_lower: 4 inputs required."       wrong number of inputs
%     "noncentralf_lower: 1 output argument"
%         other than exactly one output (none included)
%     "noncentralf_lower: x must be a double array."  x not of class double
%     "noncentralf_lower: a or b < 1e-37"           a or b below 1e-37 or NaN
%     "noncentralf_lower: c < 1e-37"                c below 1e-37 or NaN
%
%   Example:
%     noncentralf_lower(2, 3, 10, 4)   % about 0.46636
%
%   See also fisherf_lower.
