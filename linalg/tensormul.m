% TENSORMUL  Tensor-basis product without forming the basis.
%
%   z = tensormul(B, c)
%   z = tensormul(B, c, ind)
%
%   B    cell array of at least two matrices F1, F2, ... (full or sparse
%        doubles) with the same number of rows m.
%   c    full real double N-by-K, N the product of the column counts of the
%        selected factors; row t belongs to the column multi-index with the
%        last factor's index running fastest.
%   ind  optional full double vector of at least two 1-based positions into B
%        (truncated toward zero) selecting the factors and their order.
%   z    m-by-K: rowkron(F1, rowkron(F2, ...)) * c. m is rows(B{1}).
%
%   Errors (exact messages):
%     "Two arguments must be passed"                fewer than two inputs
%     "Input arguments of inproper type"
%         B not a cell, or c not a full double
%     "Inputs cannot be empty"                      an empty cell B
%     "At least two matrices must be passed"
%         fewer than two cells, or ind of fewer than two entries
%     "Index argument must be a full double array"  ind not a full double
%     "Index argument must not contain NaN"         a NaN in ind
%     "Input arguments of improper type"
%         an entry of ind outside 1..numel(B)
%     "B must be composed of matrices of real numbers"
%         a selected cell not a double matrix
%     "All rows in cell array must be equal"
%         a selected factor with another row count than B{1}
%     "B and c are not conformable"                 rows(c) differs from N
%
%   Example:
%     F1 = rand(5, 2); F2 = rand(5, 3); c = rand(6, 1);
%     z = tensormul({F1, F2}, c);   % rowkron(F1, F2) * c
%
%   See also rowkron.
