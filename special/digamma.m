% DIGAMMA  Digamma function psi(x) = d/dx log(Gamma(x)), for x > 0.
%
%   Y = digamma(X)
%
%   X  real double array, any size. A sparse X is evaluated through its
%      full equivalent.
%   Y  psi(X), element by element, with the dimensions of X. X <= 0 gives
%      NaN (poles and negative arguments alike), Inf gives Inf, NaN gives
%      NaN. Arguments below 10 are shifted up by the recurrence, so very
%      small X lose accuracy: about 1e-15/X relative (digamma(1e-10) is
%      -9.999999173e9).
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
%     digamma([0.5 1 2])   % -1.9635  -0.5772  0.4228
%
%   See also gamma_lower.
