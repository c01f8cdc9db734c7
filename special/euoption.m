% EUOPTION  European option values (Black-Scholes with a dividend yield).
%
%   V = euoption(sigma, S, K, r, delta, T)
%   V = euoption(sigma, S, K, r, delta, T, put)
%
%   sigma  volatility          S      asset price
%   K      strike price        r      interest rate (continuous)
%   delta  dividend yield      T      time to expiry
%   put    optional: an element equal to 1 selects a put, anything else a
%          call (default: calls).
%   Every input is a real double array (sparse ones are read through their
%   full equivalents). Inputs of one element are repeated over the others;
%   inputs of several elements must all have the same element count, and
%   the results take the shape of the first of them.
%   V      the option values. With sigma = 0 or T = 0 a call is worth
%          max(S exp(-delta T) - K exp(-r T), 0); a NaN sigma gives the
%          call's intrinsic value S exp(-delta T) - K exp(-r T) and 0 for a put.
%   A second output may be requested but is never assigned.
%
%   Errors (exact messages):
%     "Not enough input arguments."                 fewer than six inputs
%     "Too many input arguments."                   more than seven inputs
%     "Too many output arguments."
%         more than two outputs requested
%     "Function not defined for variables of input class"
%         an input neither double nor sparse
%     "X must be real."                             a complex input
%     "Inputs are not size compatible"
%         two inputs with different element counts, both above 1, or an empty
%         input beside one with several elements
%
%   Example:
%     euoption(0.2, 100, [90 100 110], 0.05, 0, 1)       % calls
%     euoption(0.2, 100, 100, 0.05, 0, 1, 1)             % a put, 5.5735
%
%   See also amoption.
