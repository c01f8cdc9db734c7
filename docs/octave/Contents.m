% mextoolbox: compiled numerical routines (plug-ins built for GNU Octave)
%
% Distribution functions (lower tail at the first column of x)
%   gamma_lower          - Gamma CDF, p = gamma_lower(x, a)
%   chisquare_lower      - Chi-square CDF, p = chisquare_lower(x, a)
%   poisson_lower        - Poisson CDF, p = poisson_lower(x, a)
%   noncentralchi2_lower - Noncentral chi-square CDF, p = noncentralchi2_lower(x, a, b)
%   beta_lower           - Beta CDF, p = beta_lower(x, a, b)
%   negbinomial_lower    - Negative binomial CDF, p = negbinomial_lower(x, a, b)
%   fisherf_lower        - F CDF, p = fisherf_lower(x, a, b)
%   studentt_lower       - Student t CDF, p = studentt_lower(x, a)
%   noncentralf_lower    - Noncentral F CDF, p = noncentralf_lower(x, a, b, c)
%
% Special functions, options and densities
%   gausscum             - Standard normal CDF, P = gausscum(X)
%   gaussquant           - Standard normal quantile, X = gaussquant(P)
%   digamma              - Digamma function, Y = digamma(X)
%   euoption             - European option values (Black-Scholes)
%   amoption             - American option values (Barone-Adesi-Whaley)
%   kerndens             - Kernel density and distribution estimates
%
% Approximation and indexing
%   tpolybasis           - Chebyshev basis matrix
%   tpolyeval            - Tensor-product Chebyshev expansions at points
%   lookup               - Interval lookup in a sorted table (hides Octave's lookup)
%   rowlocate            - Equal or nearest row of another matrix
%   binsum               - Row sums by bin
%   leastvals            - Row minima and their columns
%   leastidx             - Columns of the row minima, as uint32
%
% Batched and matrix linear algebra
%   batchsolve           - Batch of small linear systems
%   batchsolvebox        - Batched min-max system of box-constrained problems
%   batchminmax          - Min-max residuals and Newton steps
%   batchsmooth          - Fischer-Burmeister smoothing and derivatives
%   batchmatmul          - Batched small matrix products
%   trisolve             - Solution from given triangular factors
%   rowcolscale          - Product with a diagonal matrix given as a vector
%   rowkron              - Row-wise Kronecker product
%   tensormul            - Tensor-basis product without forming the basis
%   lowstack             - Triangle of a square matrix as a column
%   lowunstack           - Square matrix from its stacked triangle
%   rowlowstack          - Stacked outer products of the rows of a matrix
%
% Global optimisation
%   boxpart              - DIRECT iterations on caller-owned state (plug-in)
%   direct               - DIRECT search of a box: driver of boxpart
%
% Type "help <name>" for the calling forms, the errors and an example.
