% GAUSSCUM  Standard normal cumulative distribution function.
%
%   P = gausscum(X)
%
%   X  real double array of any size and number of dimensions. A sparse X
%      is evaluated through its full equivalent.
%   P  Phi(X), element by element, with the dimensions of X (always full).
%      NaN gives NaN, Inf gives 1 and -Inf gives 0; below X = -11.74 the
%      result is exactly 0. Relative error below 1e-12 for negative X
%      (Cody's rational approximations of erf and erfc).
%
%   Errors (exact messages):
%     "Not enough input arguments."                 no input
%     "Too many input arguments."                   more than one input
%     "Too many output arguments."
%         more than one output requested
%     "Function not defined for variables of input class"
%         X neither double nor sparse
%     "X must be real."                             complex X
%
%   Example:
%     gausscum([-1.96 0 1.96])    % 0.0250  0.5000  0.9750
%
%   See also gaussquant, kerndens.
