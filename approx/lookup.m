% LOOKUP  Interval lookup in a sorted table.
%
%   I = lookup(table, x)
%   I = lookup(table, x, endadj)
%
%   table   real double, non-decreasing (not checked), at least one element;
%           its shape does not matter.
%   x       real double array of any shape.
%   endadj  optional (first element, truncated; default 0): 1 or 3 puts
%           values below the table on the last entry of its leading run of
%           equal values; 2 or 3 keeps values at or above the top on the last
%           entry before its trailing run of equal values (n - 1 for a table
%           whose last two entries differ).
%   I       positions, with the dimensions of x: the largest i with
%           table(i) <= x, 0 below the table. A NaN value gives NaN.
%   With endadj 0, 1, 2, 3 and a strictly increasing table the result equals
%   that of Octave's own lookup with no option, 'l', 'r' and 'lr'.
%
%   NOTE: on Octave's path this plug-in hides the built-in function lookup,
%   which Octave's own functions call (ismember, for one, then returns wrong
%   results). Call the built-in one as builtin('lookup', ...), and keep the
%   toolbox off the path in sessions that need those functions.
%
%   Errors (exact messages):
%     "Two arguments must be passed"             fewer than two inputs
%     "Input arguments of inproper type"
%         table or x not double, sparse or complex
%     "Table must contain at least one element"  an empty table
%
%   Example:
%     lookup([1 2 3], [0 1 1.5 3 4])      % [0 1 1 3 3]
%     lookup([1 2 3], [0 1 1.5 3 4], 3)   % [1 1 1 2 2]
%
%   See also rowlocate.
