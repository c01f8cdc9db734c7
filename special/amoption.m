% AMOPTION  American option values (Barone-Adesi and Whaley approximation).
%
%   V = amoption(sigma, S, K, r, delta, T)
%   [V, VE, Sstar] = amoption(sigma, S, K, r, delta, T, put)
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
%   V      American values: the European value plus the early-exercise
%          premium; S - K for a call with S >= Sstar, K - S for a put with
%          S <= Sstar.
%   VE     the European values (as euoption).
%   Sstar  the critical asset prices, found by Newton's method (at most 1000
%          steps); NaN for a call without dividends, which is never exercised
%          early.
%   sigma <= 0 or sigma > 1e8 gives NaN in all three outputs for that element.
%
%   Errors (exact messages):
%     "Not enough input arguments."                 fewer than six inputs
%     "Too many input arguments."                   more than seven inputs
%     "Too many output arguments."
%         more than three outputs requested
%     "Function not defined for variables of input class"
%         an input neither double nor sparse
%     "X must be real."                             a complex input
%     "Inputs are not size compatible"
%         two inputs with different element counts, both above 1, or an empty
%         input beside one with several elements
%
%   Example:
%     [V, VE, Sstar] = amoption(0.25, 100, 100, 0.1, 0, 0.5, 1)  % put: 5.2295, 4.7052, 84.39
%
%   See also euoption.
