% BATCHSOLVE  Solves a batch of small linear systems.
%
%   X = batchsolve(B, A)
%
%   Batch layout: a batch of m vectors of length n is an m-by-n matrix
%   (row i is vector i); a batch of m n-by-n matrices holds m*n*n doubles with
%   entry (r, c) of matrix i at offset i + m*(r + n*c) (0-based), i.e. an
%   m-by-n-by-n array. Only element counts are checked.
%
%   B  m-by-n real double (full): row i is the right-hand side of system i.
%   A  m*n*n real doubles (full): the matrices.
%   X  m-by-n: row i solves A_i x = B(i, :)'. Gaussian elimination with row
%      equilibration and partial pivoting.
%   A singular system gives the warning "Backslash: Matrix is singular to working
%   precision." and a row of +Inf; the other systems are unaffected.
%
%   Errors (exact messages):
%     "Two arguments must be passed"         not exactly two inputs
%     "BatchSolve produces only one output"  more than one output requested
%     "Input arguments of inproper type"     an input not double, or sparse
%     "Inputs are not compatible"            numel(A) differs from m*n*n
%
%   Example:
%     A = zeros(2, 2, 2);              % two systems of size 2
%     A(1, :, :) = [2 1; 1 3];
%     A(2, :, :) = [4 1; 2 5];
%     X = batchsolve([1 2; 3 4], A);   % X(i, :) = (squeeze(A(i, :, :)) \ B(i, :)')'
%
%   See also batchsolvebox, batchminmax.
