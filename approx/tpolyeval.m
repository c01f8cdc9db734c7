% TPOLYEVAL  Evaluation of tensor-product Chebyshev expansions.
%
%   Y = tpolyeval(c, x, n, a, b)
%
%   c     N-by-p coefficients, N = prod(fix(n)); row r enumerates the
%         multi-index (i1, ..., id) with i1 varying fastest, column q is one
%         expansion.
%   x     m-by-d points, one per row.
%   n     d numbers of coefficients per dimension (truncated toward zero).
%   a, b  d lower and d upper bounds of the box mapped onto [-1, 1]^d.
%   Y     m-by-p values: Y(j, q) is expansion q at point j (Clenshaw's
%         recurrence, one dimension at a time). Points outside the box are
%         not clamped.
%
%   Errors (exact messages):
%     "Not enough input arguments."                 fewer than five inputs
%     "Too many input arguments."                   more than five inputs
%     "Too many output arguments."
%         more than one output requested
%     "Function not defined for variables of input class"
%         an input not double, or sparse
%     "Arguments must be real."                     a complex input
%     "n has improper dimension"
%         numel(n) differs from columns(x)
%     "a has improper dimension"
%         numel(a) differs from columns(x)
%     "b has improper dimension"
%         numel(b) differs from columns(x)
%     "n must contain positive integers"
%         an entry of n below 1 after truncation, or NaN
%     "c has improper number of rows"
%         rows(c) differs from prod(fix(n))
%
%   Example:
%     tpolyeval([1; 2; 3], [0.5; 1], 3, -1, 1)   % 1 + 2 T1 + 3 T2: [0.5; 6]
%
%   See also tpolybasis.
