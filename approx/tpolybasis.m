% TPOLYBASIS  Chebyshev basis matrix.
%
%   B = tpolybasis(n, a, b, x)
%
%   n     number of basis functions, truncated toward zero; at least 1.
%   a, b  ends of the interval mapped linearly onto [-1, 1].
%   x     real double array; the points are its first column (m = its row
%         count; a row vector contributes its first element only).
%   B     m-by-n matrix: B(i, j) = T(j-1)(z(i)) with z = (2x - a - b)/(b - a),
%         by the three-term recurrence. Points outside [a, b] are not
%         clamped; a = b gives infinite or NaN values.
%
%   Errors (exact messages):
%     "Four arguments must be passed"        not exactly four inputs
%     "tpolybasis produces only one output"  more than one output requested
%     "Input arguments of inproper type"
%         an input not double, sparse or complex
%     "n, a and b must be scalars"
%         n, a or b with other than one element
%     "n must be a positive integer"
%         n below 1 after truncation, or NaN
%     "n is too large"                       n above 2^53
%     "x must have at least one column"      x with rows but no columns
%
%   Example:
%     tpolybasis(3, -1, 1, [-1; 0; 0.5])   % [1 -1 1; 1 0 -1; 1 0.5 -0.5]
%
%   See also tpolyeval.
