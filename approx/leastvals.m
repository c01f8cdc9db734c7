% LEASTVALS  Minimum of each row and the column where it occurs.
%
%   v = leastvals(X)
%   [v, j] = leastvals(X)
%
%   X  m-by-n real double matrix (full); further inputs are ignored.
%   v  m-by-1 minima; j  m-by-1 column numbers (doubles) of the first
%      occurrence. A NaN in the first column stays the minimum; NaN in later
%      columns is skipped. With no columns, v is NaN and j is 0.
%
%   Errors (exact messages):
%     "No input argument passed."         no input
%     "Matrix must be double"             X not double
%     "Matrix must be full (not sparse)"  sparse X
%     "Matrix must be real"               complex X
%
%   Example:
%     [v, j] = leastvals([3 1 2; 5 5 4])   % v = [1; 4], j = [2; 3]
%
%   See also leastidx.
