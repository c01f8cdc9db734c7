% BATCHSOLVEBOX  Batched solve of the min-max system of box-constrained problems.
%
%   d = batchsolvebox(F, J, x, xl, xu)
%
%   Batch layout: a batch of m vectors of length n is an m-by-n matrix
%   (row i is vector i); a batch of m n-by-n matrices holds m*n*n doubles with
%   entry (r, c) of matrix i at offset i + m*(r + n*c) (0-based), i.e. an
%   m-by-n-by-n array. Only element counts are checked.
%
%   F      m-by-n function values (real double, full).
%   J      m*n*n Jacobians.
%   x, xl, xu  m*n points, lower and upper bounds (full doubles).
%   d      m-by-n: row i solves problem i's system, not negated.
%   For each component, with value F, point x and bounds xl, xu:
%   F <= xl - x gives the lower bound (right-hand side xl - x, row -1 on the
%   diagonal), else F >= xu - x the upper bound (xu - x, same row), else the
%   interior (F and the row of the Jacobian); a NaN F is interior.
%   A singular system gives the warning "Backslash: Matrix is singular to working
%   precision." and a row of +Inf; the other systems are unaffected.
%
%   Errors (exact messages):
%     "Five arguments must be passed"        not exactly five inputs
%     "BatchSolve produces only one output"  more than one output requested
%     "Input arguments of inproper type"
%         F or J not double, or sparse; after the size checks, x, xl or xu not
%         a full double
%     "Inputs are not compatible"            numel(J) differs from m*n*n
%     "x is of improper size"                numel(x) differs from m*n
%     "xl is of improper size"               numel(xl) differs from m*n
%     "xu is of improper size"               numel(xu) differs from m*n
%
%   Example:
%     d = batchsolvebox([0.5 -2], [2 1 1 3], [0 0], [-1 -1], [1 1]);
%
%   See also batchminmax, batchsolve.
