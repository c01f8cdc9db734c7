% BOXPART  Iterations of the DIRECT global search on caller-owned state.
%
%   boxpart(objective, box_width, root_center, parent, offset, cut_dim, level, ...
%           fval, level_size, level_min, params, intarray, extra...)
%
%   No outputs: the search state lives in the arrays, which are updated in
%   place (so they must be arrays of the caller alone; direct.m sees to that).
%   The objective, a function handle or name, is called as
%   objective(x, extra...) with x a column of numel(box_width) doubles, once
%   per new point; the first element of its result is the value.
%
%    #  array        class   length  role
%    2  box_width    double  >= n    side lengths of the search box
%    3  root_center  double  >= n    centre of the search box
%    4  parent       int32   >= X    parent of each point (written)
%    5  offset       double  >= X    offset from the parent's centre (written)
%    6  cut_dim      int16   >= X    dimension of that offset (written)
%    7  level        int16   >= X    level of the point's box (written)
%    8  fval         double  >= X    value of each point, search sign (written)
%    9  level_size   double  >= W    size of a box at each level
%   10  level_min    double  >= W    per-level minima, scratch (written)
%   11  params       double  4       epsilon, target (user sign), relative
%                                    tolerance, sign (1 minimise, -1 maximise)
%   12  intarray     double  14      1 nf, 2 iterations, 3 highest level,
%                                    4 best point, 5 status (1-5 written),
%                                    6 iteration limit, 7 progress (1),
%                                    8 n, 9 X, 10 W, 11-12 size stop (nf,
%                                    level), 13 first tie only (1),
%                                    14 skip hull pruning (1)
%
%   A new search has point 1 at the root: level(1) = 1, fval(1) the objective
%   at root_center (user's sign), intarray(1:4) = [1 0 1 1]. With params(4) =
%   -1 the plug-in negates fval(1:nf) on entry and leaves the negated values.
%   Status: 1 capacity X reached, 2 level capacity W exceeded, 3 target
%   reached, 4 within the relative tolerance of the target, 5 size stop,
%   6 iteration limit. With intarray(7) = 1 each iteration prints
%   "Iter: %4i   fbest: %15.10f    fn evals: %8i".
%
%   Errors (exact messages):
%     "Incorrect number of input arguments."        eleven inputs or fewer
%     "Incorrect number of output arguments."       any output requested
%     "Parameters vector is the wrong size."        numel(params) not 4
%     "Intarray vector is the wrong size."          numel(intarray) not 14
%     "<name> (argument <k>) must be a full double array."
%         a double state array of another class, or sparse
%     "parent (argument 4) must be an int32 array."
%     "cut_dim (argument 6) must be an int16 array."
%         (level: argument 7 likewise)
%     "intarray(<k>) must not be NaN."
%     "<name> has fewer than intarray(8|9|10) elements."
%         an array shorter than n, X or W
%     "<name> and <name> must not share data."
%         an array written in place sharing memory with another
%     (messages naming intarray(1), (3), (4), (8), (9), (10) or a stored point)
%         a state that is out of range or inconsistent
%     "The objective must return a non-empty numeric value."
%         an empty or non-numeric objective value
%
%   Example:
%     see direct.m, which creates the arrays, runs boxpart until a stopping
%     rule holds and returns the best point.
%
%   See also direct.
