% boxpart and its driver direct.m run from GNU Octave: state arrays owned
% by Octave and updated in place, function handles and named functions as
% objectives, extra arguments passed through, progress lines, errors of the
% objective, maximisation and resumed searches.
% Usage: octave-cli boxpart_octave.m <repository root>
% Ends with the line "N passed, M failed"; exits with status 1 on failure.
1;

function counts = check(counts, label, ok)
  if ok
    counts(1) = counts(1) + 1;
  else
    counts(2) = counts(2) + 1;
    printf('FAIL  %s\n', label);
  end
end

function s = fresh_state(f, lower, upper, capacity, levels, extra)
  % A new search of f over [lower, upper] with point 1 at the root.
  n = numel(lower);
  s.width = upper(:) - lower(:);
  s.centre = 0.5 * (lower(:) + upper(:));
  s.parent = zeros(capacity, 1, 'int32');
  s.offset = zeros(capacity, 1);
  s.cut_dim = zeros(capacity, 1, 'int16');
  s.level = zeros(capacity, 1, 'int16');
  s.fval = zeros(capacity, 1);
  s.level_size = 0.5 * sqrt(n) * 3 .^ -floor((0:levels - 1)' / n);
  s.level_min = zeros(levels, 1);
  s.params = [1e-4; NaN; 1e-4; 1];
  s.intarray = [1; 0; 1; 1; 0; 0; 0; n; capacity; levels; 0; 1e9; 0; 0];
  s.level(1) = 1;
  s.fval(1) = feval(f, s.centre, extra{:});
end

function x = centre_of(s, p)
  % Centre of point p, from the root along its parents.
  path = [];
  while p > 1
    path(end + 1) = p;
    p = double(s.parent(p));
  end
  x = s.centre;
  for j = fliplr(path)
    d = double(s.cut_dim(j));
    x(d) = x(d) + s.offset(j);
  end
end

function y = weighted_distance(x, c, w)
  y = sum(w(:) .* (x(:) - c(:)) .^ 2);
end

args = argv();
root = args{1};
if ~exist(fullfile(root, 'build', 'octave', 'gausscum.mex'), 'file')
  printf('build/octave holds no plug-ins: run scripts/build-octave.sh first\n');
  exit(77);
end
warning('off', 'Octave:shadowed-function');
addpath(fullfile(root, 'build', 'octave'));
counts = [0 0];

% --- boxpart with Octave-owned arrays, a handle and extra arguments -----
c = [0.3; -0.2];
w = [1; 4];
f = @(x, c, w) weighted_distance(x, c, w);
s = fresh_state(f, [-1 -1], [1 1], 200, 30, {c, w});
parent = s.parent; offset = s.offset; cut_dim = s.cut_dim; level = s.level;
fval = s.fval; level_min = s.level_min; intarray = s.intarray;
intarray(6) = 3;   % three iterations
intarray(7) = 1;   % with progress lines
printed = evalc(['boxpart(f, s.width, s.centre, parent, offset, cut_dim, level, fval, ' ...
                 's.level_size, level_min, s.params, intarray, c, w);']);
nf = intarray(1);
counts = check(counts, 'the counters are written back', intarray(2) == 3 && intarray(5) == 6 && nf > 5);
counts = check(counts, 'the root box was divided in place', level(1) > 1 && all(level(2:nf) > 1));
ok = true;
for p = 2:nf
  ok = ok && fval(p) == weighted_distance(centre_of(struct('centre', s.centre, 'parent', parent, ...
                                                           'offset', offset, 'cut_dim', cut_dim), p), c, w);
end
counts = check(counts, 'each stored value is the objective, extra arguments included, at its centre', ok);
[fbest, ibest] = min(fval(1:nf));
counts = check(counts, 'the best point is recorded', fval(intarray(4)) == fbest && intarray(4) == ibest);
lines = strsplit(strtrim(printed), "\n");
counts = check(counts, 'one progress line per iteration', numel(lines) == 3);
expected = sprintf('Iter: %4i   fbest: %15.10f    fn evals: %8i', 3, fbest, nf);
counts = check(counts, 'the last progress line shows the best value and the evaluations', strcmp(lines{end}, expected));

% A later call continues from the same arrays; a call already at its
% iteration limit evaluates nothing.
before = fval;
intarray(6) = 5;
intarray(7) = 0;
boxpart(f, s.width, s.centre, parent, offset, cut_dim, level, fval, s.level_size, level_min, s.params, intarray, c, w);
counts = check(counts, 'a second call resumes the search', intarray(2) == 5 && intarray(1) > nf && ...
               isequal(fval(1:nf), before(1:nf)));
nf = intarray(1);
snapshot = {parent, offset, cut_dim, level, fval};
boxpart(f, s.width, s.centre, parent, offset, cut_dim, level, fval, s.level_size, level_min, s.params, intarray, c, w);
counts = check(counts, 'at the iteration limit nothing is evaluated', intarray(5) == 6 && intarray(1) == nf && ...
               isequal({parent, offset, cut_dim, level, fval}, snapshot));

% --- a named function and a handle to it search alike ------------------
runs = {};
for objective = {'sumsq', @sumsq}
  t = fresh_state(objective{1}, [-1 -0.5], [2 1], 100, 20, {});
  t.intarray(6) = 4;
  boxpart(objective{1}, t.width, t.centre, t.parent, t.offset, t.cut_dim, t.level, t.fval, ...
          t.level_size, t.level_min, t.params, t.intarray);
  runs{end + 1} = t;
end
counts = check(counts, 'a function name works as the objective', runs{1}.intarray(2) == 4 && runs{1}.intarray(1) > 1);
counts = check(counts, 'name and handle give the same search', isequal(runs{1}.fval, runs{2}.fval) && ...
               isequal(runs{1}.intarray, runs{2}.intarray));

% --- maximisation: values come back negated, progress in the user's sign -
t = fresh_state(@(x) -sumsq(x), [-1 -1], [1 1], 100, 20, {});
t.params(4) = -1;
t.intarray(6) = 2;
t.intarray(7) = 1;
out = evalc(['boxpart(@(x) -sumsq(x), t.width, t.centre, t.parent, t.offset, t.cut_dim, t.level, t.fval, ' ...
             't.level_size, t.level_min, t.params, t.intarray);']);
nf = t.intarray(1);
best = t.fval(t.intarray(4));
counts = check(counts, 'a maximisation leaves the search-sign values in place', all(t.fval(2:nf) >= 0) && best == min(t.fval(1:nf)));
lines = strsplit(strtrim(out), "\n");
counts = check(counts, 'its progress shows the largest value found', ...
               strcmp(lines{end}, sprintf('Iter: %4i   fbest: %15.10f    fn evals: %8i', 2, -best, nf)));

% --- an error of the objective is an Octave error ------------------------
t = fresh_state(@sumsq, [-1 -1], [1 1], 100, 20, {});
t.intarray(6) = 5;
bad = @(x) error('toolbox:objective', 'objective failed at %g', x(1));
message = '';
try
  boxpart(bad, t.width, t.centre, t.parent, t.offset, t.cut_dim, t.level, t.fval, t.level_size, ...
          t.level_min, t.params, t.intarray);
catch e
  message = e.message;
end
counts = check(counts, 'the objective''s error reaches the caller', ~isempty(strfind(message, 'objective failed at')));
counts = check(counts, 'intarray is not updated after an error', t.intarray(1) == 1 && t.intarray(2) == 0);
message = '';
try
  boxpart(@(x) 'text', t.width, t.centre, t.parent, t.offset, t.cut_dim, t.level, t.fval, t.level_size, ...
          t.level_min, t.params, t.intarray);
catch e
  message = e.message;
end
counts = check(counts, 'a non-numeric value is refused', ~isempty(strfind(message, 'The objective must return a non-empty numeric value.')));

% --- direct.m --------------------------------------------------------------
branin = @(x) (x(2) - 5.1 / (4 * pi^2) * x(1)^2 + 5 / pi * x(1) - 6)^2 + 10 * (1 - 1 / (8 * pi)) * cos(x(1)) + 10;
fmin = 0.397887357729738;
opts = struct('max_evaluations', 195, 'target', fmin);
[x, fx, st] = direct(branin, [-5 0], [10 15], opts);
counts = check(counts, 'direct: Branin within 1e-4 of its minimum in 195 evaluations and 15 iterations', ...
               st.status == 4 && st.evaluations == 195 && st.iterations == 15 && abs(fx - fmin) / fmin < 1e-4);
counts = check(counts, 'direct: the point returned is the one evaluated', branin(x) == fx && all(x >= [-5; 0] & x <= [10; 15]));

kept = st;
[x2, fx2, st2] = direct(st, 400, 0);
counts = check(counts, 'direct: resuming does not change the state passed in', isequal(st, kept));
counts = check(counts, 'direct: a resumed search goes on from where it stopped', ...
               st2.evaluations > st.evaluations && fx2 <= fx && isequal(st2.fval(1:195), st.fval(1:195)));

o2 = opts;
o2.maximise = true;
o2.target = -fmin;
[xm, fm, sm] = direct(@(x) -branin(x), [-5 0], [10 15], o2);
counts = check(counts, 'direct: maximising -f visits the points minimising f visits', ...
               isequal(xm, x) && fm == -fx && sm.evaluations == st.evaluations && isequal(sm.fval(1:195), -st.fval(1:195)));

o3 = struct('max_evaluations', 150, 'show_progress', true, 'size_measure', 'longest-side');
[~, ~, s3] = direct('weighted_distance', [-1 -1], [1 1], [], c, w);
out = evalc('[xw, fw, s4] = direct(''weighted_distance'', [-1 -1], [1 1], o3, c, w);');
lines = strsplit(strtrim(out), "\n");
counts = check(counts, 'direct: named objective with extra arguments and progress lines', ...
               numel(lines) == s4.iterations && s4.status == 1 && s4.evaluations <= 150 && ...
               fw == weighted_distance(xw, c, w) && s3.evaluations <= 2000);

errors = {
  {@() direct(branin, [0 0], [1 -1]), 'Every lower bound must be finite and below its finite upper bound.'}
  {@() direct(branin, [0 0], [1 1 1]), 'The lower and upper bounds differ in length.'}
  {@() direct(branin, [0 0], [1 1], struct('max_evaluations', 0)), 'The evaluation budget must be between 1 and 2147483647.'}
  {@() direct(branin, [0 0], [1 1], struct('budget', 5)), 'Unknown option ''budget''.'}
  {@() direct(@(x) [], [0 0], [1 1]), 'The objective must return a non-empty numeric value.'}
  {@() direct(bad, [0 0], [1 1]), 'objective failed at 0.5'}
};
for k = 1:numel(errors)
  message = '';
  try
    errors{k}{1}();
  catch e
    message = e.message;
  end
  counts = check(counts, ['direct error: ' errors{k}{2}], ~isempty(strfind(message, errors{k}{2})));
end

printf('%d passed, %d failed\n', counts(1), counts(2));
if counts(2) > 0
  exit(1);
end
