% BATCHMINMAX  Min-max residuals and Newton steps of box-constrained problems.
%
%   phi = batchminmax(x, xl, xu, fx)
%   [phi, dx] = batchminmax(x, xl, xu, fx, J)
%
%   Batch layout: a batch of m vectors of length n is an m-by-n matrix
%   (row i is vector i); a batch of m n-by-n matrices holds m*n*n doubles with
%   entry (r, c) of matrix i at offset i + m*(r + n*c) (0-based), i.e. an
%   m-by-n-by-n array. Only element counts are checked.
%
%   x        m-by-n points (real double, full).
%   xl, xu   m*n lower and upper bounds; fx  m*n function values;
%   J        m*n*n Jacobians, needed only for dx.
%   phi      residuals, shaped like fx: xl - x where fx <= xl - x, else
%            xu - x where fx >= xu - x, else fx (a NaN fx is interior).
%   dx       m-by-n Newton steps: row i solves W dx = -phi for problem i's
%            residual Jacobian W (-1 on the diagonal for an active bound, the
%            row of J otherwise); the next iterate is x + dx.
%   A singular system gives the warning "Backslash: Matrix is singular to working
%   precision." and a row of -Inf in dx; the other systems are unaffected.
%
%   Errors (exact messages):
%     "Four or five arguments must be passed"
%         neither four nor five inputs
%     "BatchSolve produces at most two outputs"
%         more than two outputs requested
%     "Input arguments of inproper type"
%         x or xl not double, or sparse; after the size checks, xu, fx or J
%         not a full double
%     "Must pass a Jacobian to compute the newton step"
%         two outputs with four inputs
%     "xl is of improper size"                      numel(xl) differs from m*n
%     "xu is of improper size"                      numel(xu) differs from m*n
%     "fx is of improper size"                      numel(fx) differs from m*n
%     "Inputs are not compatible"
%         two outputs and numel(J) differs from m*n*n
%
%   Example:
%     [phi, dx] = batchminmax([0.2 0.5], [0 0], [1 1], [0.3 -0.1], [2 1 1 2]);
%
%   See also batchsolvebox, batchsmooth.
