% BINSUM  Sums of the values of each row by bin.
%
%   S = binsum(V, IND)
%
%   V    m-by-n real double values.
%   IND  m-by-n real double bin numbers, truncated toward zero; each must be
%        in 1..m.
%   S    m-by-m: S(i, c) is the sum of V(i, j) over the j with IND(i, j) = c.
%        NaN and Inf values propagate into their bin.
%
%   Errors (exact messages):
%     "Two arguments must be passed"                not exactly two inputs
%     "Input arguments of inproper type"
%         V or IND not double, sparse or complex
%     "Only one output is returned by binsum"
%         more than one output requested
%     "Inputs must be the same size"
%         V and IND of different sizes
%     "The result of binsum is too large to allocate"
%         m*m doubles exceed the address space
%     "IND contains improper values"
%         a bin number outside 1..m, or NaN
%
%   Example:
%     binsum([0.5 0.5; 1 0], [1 2; 2 2])   % [0.5 0.5; 0 1]
%
%   See also leastvals.
