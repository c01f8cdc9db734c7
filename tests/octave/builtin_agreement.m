% Agreement of the toolbox, built for GNU Octave (build/octave), with the
% functions Octave itself and its statistics package offer for the same
% quantities.
% Usage: octave-cli builtin_agreement.m <repository root>
%
% A case passes when every point satisfies
%     |ours - octave| <= rtol * |octave| + atol
% (NaN must meet NaN). The tolerances, and why they are what they are:
%   gamma_lower/gammainc, chisquare_lower/chi2cdf, beta_lower/betainc,
%   studentt_lower/tcdf, fisherf_lower/fcdf    rtol 1e-12, atol 1e-15
%       Both sides are near full precision in the bulk; Octave's own lower
%       tails below about 1e-15 are only absolutely accurate (its
%       gammainc(0.1, 10) is 3.3e-16 where the exact value, and ours, is
%       2.5163478e-17; chi2cdf and tcdf return -2.2e-16 and -1.1e-16 for
%       tiny tails), hence the absolute floor. tcdf is compared up to 100
%       degrees of freedom: beyond, it drifts (at 1e4 degrees of freedom
%       tcdf(-5) is off by 1.7e-8 relative and tcdf(-10) is 6e-15 where
%       the exact value, and ours, is 9.8164e-24).
%   noncentralchi2_lower/ncx2cdf, noncentralf_lower/ncfcdf
%                                                rtol 1e-4,  atol 1e-10
%       Our Poisson sums stop at a relative 1e-5 (chi-square) and 1e-4 (F)
%       of the running sum.
%   gausscum/normcdf                             rtol 1e-12, atol 1e-30
%       Cody's approximations carry up to about 1e-13 relative error;
%       below x = -11.74 ours is exactly 0 where normcdf is below 1e-31.
%   gaussquant/norminv, 1e-3 <= p <= 1 - 1e-3    rtol 1e-12, atol 1e-15
%                       1e-9 <= p < 1e-3          rtol 1e-8,  atol 0
%       The argument is first turned into 2p - 1, which costs relative
%       accuracy in p as p falls (about nine digits are left at 1e-9).
%   digamma/psi, 0.01 <= x <= 1e4                rtol 1e-12, atol 1e-15
%       The absolute floor covers the zero of psi near 1.4616. Octave's
%       psi fails for large arguments (psi(1e10) is off by 3e-12 absolute,
%       psi(1e300) returns -0.5772), so the grid stops at 1e4.
%   digamma/psi, 1e-8 <= x < 0.01                rtol 1e-6,  atol 0
%       The last reciprocal of the downward recurrence is taken of
%       (x + n) - n rather than of x, an error of about 1e-15/x.
%   rowkron/kron of each row, lookup/builtin lookup, leastvals and
%   leastidx/min                                 exact
%   batchsolve/mldivide                          max |x - y| <= 1e-12 max |y|
%       per system, for well-conditioned random systems.
% The script ends with the line "N passed, M failed" and exits with status 1
% when a case fails.
1;

function [ok, worst] = within(ours, ref, rtol, atol)
  % worst: the largest |ours - ref| / (rtol |ref| + atol) over the points.
  ours = double(full(ours(:)));
  ref = double(full(ref(:)));
  same_nan = isnan(ours) == isnan(ref);
  both = ~isnan(ours) & ~isnan(ref);
  d = abs(ours(both) - ref(both));
  d(ours(both) == ref(both)) = 0;  % equal infinities
  bound = rtol * abs(ref(both)) + atol;
  ratio = zeros(size(d));
  pos = bound > 0;
  ratio(pos) = d(pos) ./ bound(pos);
  ratio(~pos & d > 0) = Inf;
  worst = max([0; ratio]);
  ok = numel(ours) == numel(ref) && all(same_nan) && worst <= 1;
end

function counts = record(counts, label, ok, detail)
  if ok
    counts(1) = counts(1) + 1;
    printf('ok    %s  %s\n', label, detail);
  else
    counts(2) = counts(2) + 1;
    printf('FAIL  %s  %s\n', label, detail);
  end
end

function counts = compare(counts, label, f_ours, f_ref, rtol, atol)
  % Runs both functions and records the case; an error counts as a failure.
  try
    ours = f_ours();
    ref = f_ref();
  catch e
    counts = record(counts, label, false, ['error: ' e.message]);
    return;
  end
  [ok, worst] = within(ours, ref, rtol, atol);
  counts = record(counts, label, ok, sprintf('(%d points, worst %.3g of the tolerance)', numel(ref), worst));
end

function [o, r] = grid2(f_ours, f_ref, x, p1)
  % Column of f over every point x for each parameter in p1.
  o = [];
  r = [];
  for a = p1
    o = [o; f_ours(x(:), a)];
    r = [r; f_ref(x(:), a)];
  end
end

function [o, r] = grid3(f_ours, f_ref, x, p1, p2)
  o = [];
  r = [];
  for a = p1
    for b = p2
      o = [o; f_ours(x(:), a, b)];
      r = [r; f_ref(x(:), a, b)];
    end
  end
end

function v = pick(which, f)
  [o, r] = f();
  if which == 1
    v = o;
  else
    v = r;
  end
end

function v = nth_output(k, f, varargin)
  out = cell(1, k);
  [out{:}] = f(varargin{:});
  v = out{k};
end

function [x, y] = batch_solutions(m, n)
  % m random diagonally dominant n-by-n systems in the batch layout, solved
  % by batchsolve and one by one by mldivide.
  B = rand(m, n) - 0.5;
  A = rand(m, n, n) - 0.5;
  for i = 1:m
    A(i, :, :) = squeeze(A(i, :, :)) + n * eye(n);
  end
  x = batchsolve(B, A);
  y = zeros(m, n);
  for i = 1:m
    y(i, :) = (squeeze(A(i, :, :)) \ B(i, :)')';
  end
end

args = argv();
root = args{1};
if ~exist(fullfile(root, 'build', 'octave', 'gausscum.mex'), 'file')
  printf('build/octave holds no plug-ins: run scripts/build-octave.sh first\n');
  exit(77);
end
state = warning();
warning('off', 'all');
pkg load statistics;
warning(state);
warning('off', 'Octave:shadowed-function');
addpath(fullfile(root, 'build', 'octave'));
rand('state', 20240601);
counts = [0 0];

% Distribution functions.
xg = [0.01 0.1 0.5 1 2 3 5 8 10 20 50 100 300 1e3];
f = @() grid2(@gamma_lower, @(x, a) gammainc(x, a), xg, [0.1 0.5 1 1.5 2 3 5 10 20 50 100 300 1e3]);
counts = compare(counts, 'gamma_lower vs gammainc', @() pick(1, f), @() pick(2, f), 1e-12, 1e-15);
f = @() grid2(@chisquare_lower, @chi2cdf, xg, [0.5 1 2 3 5 10 30 100 1000]);
counts = compare(counts, 'chisquare_lower vs chi2cdf', @() pick(1, f), @() pick(2, f), 1e-12, 1e-15);
f = @() grid3(@noncentralchi2_lower, @ncx2cdf, [0.1 0.5 1 2 5 10 20 50 100 200], [1 2 5 10 30], [0.5 1 5 20 60]);
counts = compare(counts, 'noncentralchi2_lower vs ncx2cdf', @() pick(1, f), @() pick(2, f), 1e-4, 1e-10);
xb = [0.001 0.01 0.1 0.25 0.4 0.5 0.6 0.75 0.9 0.99 0.999];
f = @() grid3(@beta_lower, @(x, a, b) betainc(x, a, b), xb, [0.1 0.5 1 2 5 20 100 1e3], [0.1 0.5 1 2 5 20 100 1e3]);
counts = compare(counts, 'beta_lower vs betainc', @() pick(1, f), @() pick(2, f), 1e-12, 1e-15);
f = @() grid2(@studentt_lower, @tcdf, [-30 -10 -5 -3 -2 -1 -0.5 0 0.5 1 2 3 5 10 30], [0.5 1 2 3 5 10 30 100]);
counts = compare(counts, 'studentt_lower vs tcdf', @() pick(1, f), @() pick(2, f), 1e-12, 1e-15);
xf = [0.01 0.1 0.5 1 2 5 10 50];
f = @() grid3(@fisherf_lower, @fcdf, xf, [1 2 5 10 50 300], [1 2 5 10 50 300]);
counts = compare(counts, 'fisherf_lower vs fcdf', @() pick(1, f), @() pick(2, f), 1e-12, 1e-15);
o = [];
r = [];
for c = [0.5 2 10 40]
  [oc, rc] = grid3(@(x, a, b) noncentralf_lower(x, a, b, c), @(x, a, b) ncfcdf(x, a, b, c), xf, [1 2 5 10], [2 5 10 50]);
  o = [o; oc];
  r = [r; rc];
end
counts = compare(counts, 'noncentralf_lower vs ncfcdf', @() o, @() r, 1e-4, 1e-10);

% Normal CDF and quantile, digamma.
z = -13:1/16:9;
counts = compare(counts, 'gausscum vs normcdf', @() gausscum(z), @() normcdf(z), 1e-12, 1e-30);
p = [1e-3 0.01 0.025 0.05:0.05:0.95 0.975 0.99 0.999];
counts = compare(counts, 'gaussquant vs norminv (central)', @() gaussquant(p), @() norminv(p), 1e-12, 1e-15);
p = [1e-9 1e-8 1e-7 1e-6 1e-5 1e-4 5e-4];
counts = compare(counts, 'gaussquant vs norminv (tails)', @() gaussquant([p, 1 - p]), @() norminv([p, 1 - p]), 1e-8, 0);
xp = [0.01 0.1 0.5 1 1.4616321449683622 2 3 5 9.5 10 10.5 20 100 1e4];
counts = compare(counts, 'digamma vs psi', @() digamma(xp), @() psi(xp), 1e-12, 1e-15);
xp = [1e-8 1e-6 1e-4 1e-3];
counts = compare(counts, 'digamma vs psi (small arguments)', @() digamma(xp), @() psi(xp), 1e-6, 0);

% Row-wise Kronecker products against kron of each pair of rows.
A = round(10 * randn(7, 3)) / 4;
B = randn(7, 4);
As = sprand(7, 3, 0.5);
Bs = sprand(7, 4, 0.5);
for c = {{'full x full', A, B}, {'sparse x full', As, B}, {'full x sparse', A, Bs}, {'sparse x sparse', As, Bs}}
  pair = c{1};
  P = pair{2};
  Q = pair{3};
  ref = zeros(rows(P), columns(P) * columns(Q));
  for i = 1:rows(P)
    ref(i, :) = kron(full(P(i, :)), full(Q(i, :)));
  end
  counts = compare(counts, ['rowkron vs kron of rows, ' pair{1}], @() rowkron(P, Q), @() ref, 0, 0);
end

% Batched solves against mldivide, one system at a time.
for mn = [1 1; 40 1; 40 3; 25 6]'
  label = sprintf('batchsolve vs mldivide, %d systems of %d', mn(1), mn(2));
  try
    [x, y] = batch_solutions(mn(1), mn(2));
    scale = max(abs(y), [], 2);
    worst = max(max(abs(x - y), [], 2) ./ (1e-12 * scale));
    counts = record(counts, label, worst <= 1, sprintf('(worst %.3g of the tolerance)', worst));
  catch e
    counts = record(counts, label, false, ['error: ' e.message]);
  end
end

% Table lookup against Octave's builtin lookup: endadj 1, 2, 3 are its
% options 'l', 'r' and 'lr' on a strictly increasing table.
table = cumsum(rand(1, 40) + 0.01);
x = [table, table + 1e-12, table - 1e-12, min(table) - 1, max(table) + 1, ...
     min(table) + (max(table) - min(table)) * rand(1, 300), -Inf, Inf];
x = x(randperm(numel(x)));
opts = {'', 'l', 'r', 'lr'};
for endadj = 0:3
  if endadj == 0
    ref = @() builtin('lookup', table, x);
  else
    ref = @() builtin('lookup', table, x, opts{endadj + 1});
  end
  counts = compare(counts, sprintf('lookup vs builtin lookup, endadj %d', endadj), ...
                   @() lookup(table, x, endadj), ref, 0, 0);
end
dup = [1 1 2 2 2 3 5 5 8];
xd = [0:0.5:9, dup];
counts = compare(counts, 'lookup vs builtin lookup, repeated entries', @() lookup(dup, xd), ...
                 @() builtin('lookup', dup, xd), 0, 0);

% Row minima against min over the second dimension (values without NaN:
% min skips NaN, leastvals keeps a NaN of the first column). Small integers
% make ties, which both resolve to the first column.
X = floor(5 * rand(50, 7)) - 2;
[v_ref, j_ref] = min(X, [], 2);
counts = compare(counts, 'leastvals vs min, values', @() leastvals(X), @() v_ref, 0, 0);
counts = compare(counts, 'leastvals vs min, columns', @() nth_output(2, @leastvals, X), @() j_ref, 0, 0);
counts = compare(counts, 'leastidx vs min, columns', @() leastidx(X), @() j_ref, 0, 0);

printf('%d passed, %d failed\n', counts(1), counts(2));
if counts(2) > 0
  exit(1);
end
