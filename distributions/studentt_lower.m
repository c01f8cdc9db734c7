% STUDENTT_LOWER  Student's t cumulative distribution function.
%
%   p = studentt_lower(x, a)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   a  degrees of freedom, a >= 1e-37.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      Near full double precision. x = 0 gives 0.5, -Inf and NaN give 0, Inf
%      gives 1.
%
%   Errors (exact messages):
%     "studentt_lower: 2 inputs required."         wrong number of inputs
%     "studentt_lower: 1 output argument"
%         other than exactly one output (none included)
%     "studentt_lower: x must be a double array."  x not of class double
%     "studentt_lower: a < 1e-37"                  a below 1e-37 or NaN
%
%   Example:
%     studentt_lower([-2; 0; 2], 5)
%
%   See also beta_lower.
