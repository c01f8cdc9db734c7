% NONCENTRALCHI2_LOWER  Noncentral chi-square cumulative distribution function.
%
%   p = noncentralchi2_lower(x, a, b)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   a  degrees of freedom, b  noncentrality; both >= 1e-37.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      The Poisson mixture is summed until what it leaves out falls below
%      1e-5 of the sum in each direction: up to about 2e-5 relative error. x
%      <= 0 and NaN give 0.
%
%   Errors (exact messages):
%     "noncentralchi2_lower: 3 inputs required."    wrong number of inputs
%     "noncentralchi2_lower: 1 output argument"
%         other than exactly one output (none included)
%     "noncentralchi2_lower: x must be a double array."  x not of class double
%     "noncentralchi2_lower: a or b < 1e-37"        a or b below 1e-37 or NaN
%
%   Example:
%     noncentralchi2_lower([1; 5; 10], 3, 2)
%
%   See also chisquare_lower.
