% KERNDENS  Kernel density and distribution function estimates.
%
%   f = kerndens(x, xi, h, ktype)
%   [f, F] = kerndens(x, xi, h, ktype)
%
%   x      evaluation points, real double array of any shape.
%   xi     the data sample (its shape is ignored).
%   h      bandwidth relative to the sample standard deviation: one value
%          for all data points or one per data point. A first element 0
%          asks for the rule of thumb 1.0487 n^-0.2 (Epanechnikov) or
%          1.0592 n^-0.2 (Gaussian), n = numel(xi).
%   ktype  kernel: first element truncated to an integer; 1 (and [])
%          selects the Epanechnikov kernel scaled to unit variance, any
%          other value the Gaussian kernel.
%   f      density estimate at x, F distribution estimate at x, both with
%          the dimensions of x. A sample of one point has no standard
%          deviation: the Epanechnikov estimates are then 0 and the Gaussian
%          ones NaN. An empty sample gives zeros.
%
%   Errors (exact messages):
%     "Not enough input arguments."                 fewer than four inputs
%     "Too many input arguments."                   more than four inputs
%     "Too many output arguments."
%         more than two outputs requested
%     "Function not defined for variables of input class"  an input not double
%     "Function not defined for sparse matrices"    a sparse input
%     "X must be real."                             a complex input
%     "xi and h are incompatible"
%         h with neither 1 nor numel(xi) elements
%
%   Example:
%     [f, F] = kerndens(linspace(-3, 3, 7), randn(1, 200), 0, 2);
%
%   See also gausscum.
