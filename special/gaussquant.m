% GAUSSQUANT  Standard normal quantile (inverse of gausscum).
%
%   X = gaussquant(P)
%
%   P  real double array of probabilities, any size. A sparse P is
%      evaluated through its full equivalent.
%   X  the quantile Phi^-1(P), element by element, with the dimensions of P.
%      P = 0 gives -Inf, P = 1 gives Inf; P outside [0, 1] and NaN give NaN.
%      The value is sqrt(2)*erfinv(2P - 1): since 2P - 1 is formed first,
%      P at or below about 2.8e-17 gives -Inf and small P lose relative
%      accuracy (about nine digits are left at P = 1e-9).
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
%     gaussquant([0.025 0.5 0.975])   % -1.9600  0  1.9600
%
%   See also gausscum.
