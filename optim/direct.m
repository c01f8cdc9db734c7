% DIRECT  Global minimisation (or maximisation) over a box by the DIRECT method.
%
%   [x, fval, state] = direct(objective, lower, upper)
%   [x, fval, state] = direct(objective, lower, upper, options, extra...)
%   [x, fval, state] = direct(state)
%   [x, fval, state] = direct(state, max_evaluations, max_iterations)
%
%   Runs the boxpart plug-in until a stopping rule holds. objective is a
%   function handle or a function name, called as objective(x, extra...)
%   with x a column of n doubles; the first element of what it returns is
%   the value. lower and upper are the n finite bounds of the box
%   (lower < upper).
%
%   options is a struct (or []) with any of these fields:
%     max_evaluations        evaluation budget, the centre included (2000).
%                            It is the capacity of the point arrays: the
%                            search stops with status 1 when the next
%                            division would exceed it.
%     max_iterations         iteration limit (100000); status 6.
%     target                 stop when the best value reaches it (status 3)
%                            or comes within target_tolerance of it,
%                            relatively (status 4); [] (default) never stops.
%     target_tolerance       1e-4.
%     size_stop_level        stop once the best point's box reaches this
%     size_stop_evaluations  level with at least this many points stored
%                            (status 5); level 0 (default) never stops.
%     epsilon                tolerance of the potential-optimality test,
%                            relative (1e-4).
%     maximise               true to maximise (false).
%     size_measure           'centre-to-vertex' (default: half the diagonal
%                            of a box, the search box counting as the unit
%                            cube) or 'longest-side'.
%     level_capacity         box levels kept (0: enough for 3^-32 of the box).
%     first_tie_only         true divides only the first of several points
%                            tied for a level's minimum.
%     skip_hull              true skips the convex-hull pruning of the
%                            candidate levels.
%     show_progress          true prints one line per iteration:
%                            Iter: ...   fbest: ...    fn evals: ...
%
%   x is the best point found (a column) and fval its value, in the user's
%   sign. state holds the whole search: state.status (the boxpart status
%   code, 1 to 6), state.status_text, state.evaluations, state.iterations
%   and state.calls report how it stopped; the other fields are the state
%   arrays. Passing state back resumes the search with a larger budget or
%   iteration limit (values below the current ones keep the current ones);
%   the state passed in is never modified.
%
%   Bad options stop with an error naming the problem; an error raised by
%   the objective ends the call with that error.
%
%   Example:
%     branin = @(x) (x(2) - 5.1/(4*pi^2)*x(1)^2 + 5/pi*x(1) - 6)^2 ...
%                   + 10*(1 - 1/(8*pi))*cos(x(1)) + 10;
%     opts = struct('max_evaluations', 500, 'target', 0.397887357729738);
%     [x, f, s] = direct(branin, [-5 0], [10 15], opts);
%     [x, f, s] = direct(s, 2000, 0);   % resume with a larger budget
%
%   See also boxpart.

function [x, fval, state] = direct (varargin)
  if (nargin < 1)
    print_usage ();
  endif
  if (isstruct (varargin{1}))
    state = varargin{1};
    if (! isfield (state, "intarray"))
      error ("direct:state", "The first argument is not the state of a search.");
    endif
    max_evaluations = 0;
    max_iterations = 0;
    if (nargin >= 2 && ! isempty (varargin{2}))
      max_evaluations = varargin{2};
    endif
    if (nargin >= 3 && ! isempty (varargin{3}))
      max_iterations = varargin{3};
    endif
    if (nargin > 3)
      error ("direct:usage", "A search is resumed as direct (state, max_evaluations, max_iterations).");
    endif
  else
    if (nargin < 3)
      print_usage ();
    endif
    options = [];
    if (nargin >= 4)
      options = varargin{4};
    endif
    state = start_search (varargin{1}, varargin{2}, varargin{3}, options, varargin(5:end));
    max_evaluations = state.options.max_evaluations;
    max_iterations = state.options.max_iterations;
  endif
  state = resume_search (state, max_evaluations, max_iterations);
  [x, fval] = best_point (state);
endfunction

function o = default_options ()
  o = struct ("max_evaluations", 2000, "max_iterations", 100000, "target", [],
              "target_tolerance", 1e-4, "size_stop_level", 0,
              "size_stop_evaluations", 0, "epsilon", 1e-4, "maximise", false,
              "size_measure", "centre-to-vertex", "level_capacity", 0,
              "first_tie_only", false, "skip_hull", false, "show_progress", false);
endfunction

function o = read_options (given)
  o = default_options ();
  if (isempty (given))
    return;
  endif
  if (! isstruct (given) || ! isscalar (given))
    error ("direct:options", "The options must be a struct.");
  endif
  for name = fieldnames (given)'
    if (! isfield (o, name{1}))
      error ("direct:options", "Unknown option '%s'.", name{1});
    endif
    o.(name{1}) = given.(name{1});
  endfor
endfunction

function n = max_level_capacity (n)
  ## A box divided at level L <= W makes levels up to ((W-1)/n + 1)*n + 1,
  ## which must fit in 16 bits.
  n = n * floor (32766 / n);
endfunction

function check_options (o, lower, upper)
  n = numel (lower);
  if (n == 0)
    error ("direct:options", "The search box needs at least one dimension.");
  endif
  if (numel (upper) != n)
    error ("direct:options", "The lower and upper bounds differ in length.");
  endif
  if (n > 32767)
    error ("direct:options", "The search box has more than 32767 dimensions.");
  endif
  if (! isreal (lower) || ! isreal (upper) || ! all (isfinite (lower(:)) & isfinite (upper(:)) & lower(:) < upper(:)))
    error ("direct:options", "Every lower bound must be finite and below its finite upper bound.");
  endif
  scalar = @(v) isnumeric (v) && isreal (v) && isscalar (v) && ! isnan (v);
  if (! scalar (o.max_evaluations) || o.max_evaluations < 1 || o.max_evaluations > 2147483647)
    error ("direct:options", "The evaluation budget must be between 1 and 2147483647.");
  endif
  if (! scalar (o.max_iterations) || o.max_iterations < 0)
    error ("direct:options", "The iteration limit must not be negative.");
  endif
  if (! scalar (o.level_capacity) || o.level_capacity < 0 || o.level_capacity > max_level_capacity (n))
    error ("direct:options", "The level capacity is out of range for this number of dimensions.");
  endif
  if (! scalar (o.size_stop_level) || o.size_stop_level < 0)
    error ("direct:options", "The size-stop level must not be negative.");
  endif
  if (! isempty (o.target) && ! scalar (o.target))
    error ("direct:options", "The target value must be a number (not NaN).");
  endif
  if (! any (strcmp (o.size_measure, {"centre-to-vertex", "longest-side"})))
    error ("direct:options", "size_measure must be \"centre-to-vertex\" or \"longest-side\".");
  endif
endfunction

function v = first_value (result)
  if (isempty (result) || ! (isnumeric (result) || islogical (result)))
    error ("direct:objective", "The objective must return a non-empty numeric value.");
  endif
  v = double (real (full (result(1))));
endfunction

function state = make_level_arrays (state, levels)
  ## Size of a box at each level, with the search box as the unit cube: at
  ## level L, r = (L-1) mod n sides are 3^-(m+1) long and the other n - r
  ## sides 3^-m, with m = floor((L-1)/n).
  n = state.n;
  state.levels = levels;
  state.level_size = zeros (levels, 1);
  state.level_min = zeros (levels, 1);
  for L = 1:levels
    m = floor ((L - 1) / n);
    r = mod (L - 1, n);
    long_side = 3 ^ (-m);
    short_side = long_side / 3;
    if (strcmp (state.options.size_measure, "longest-side"))
      state.level_size(L) = long_side;
    else
      state.level_size(L) = 0.5 * sqrt (r * short_side * short_side + (n - r) * long_side * long_side);
    endif
  endfor
endfunction

function state = start_search (objective, lower, upper, options, extra)
  o = read_options (options);
  check_options (o, lower, upper);
  n = numel (lower);
  state = struct ();
  state.objective = objective;
  state.extra = extra;
  state.options = o;
  state.n = n;
  state.box_width = double (upper(:) - lower(:));
  state.root_center = double (0.5 * (lower(:) + upper(:)));
  state.capacity = o.max_evaluations;
  state.parent = zeros (state.capacity, 1, "int32");
  state.offset = zeros (state.capacity, 1);
  state.cut_dim = zeros (state.capacity, 1, "int16");
  state.level = zeros (state.capacity, 1, "int16");
  state.fval = zeros (state.capacity, 1);
  if (o.level_capacity > 0)
    levels = o.level_capacity;
  else
    levels = min (32 * n + 1, max_level_capacity (n));
  endif
  state = make_level_arrays (state, levels);

  target = NaN;                  # NaN never stops the search
  if (! isempty (o.target))
    target = o.target;
  endif
  sign = 1;
  if (o.maximise)
    sign = -1;
  endif
  state.params = [o.epsilon; target; o.target_tolerance; sign];

  size_stop_level = 1e9;
  if (o.size_stop_level > 0)
    size_stop_level = o.size_stop_level;
  endif
  state.intarray = [1; 0; 1; 1; 0; 0; 0; n; 0; 0; o.size_stop_evaluations;
                    size_stop_level; double(logical (o.first_tie_only));
                    double(logical (o.skip_hull))];
  state.calls = 0;
  state.status = 0;
  state.status_text = status_text (0);
  state.evaluations = 1;
  state.iterations = 0;

  ## The root, stored in the user's sign as boxpart expects every value on
  ## entry (it negates them itself when maximising).
  state.level(1) = 1;
  state.fval(1) = first_value (feval (objective, state.root_center, extra{:}));
endfunction

function state = grow_points (state, capacity)
  nf = state.intarray(1);
  grow = @(a) [a(1:nf); zeros(capacity - nf, 1, class (a))];
  state.parent = grow (state.parent);
  state.offset = grow (state.offset);
  state.cut_dim = grow (state.cut_dim);
  state.level = grow (state.level);
  state.fval = grow (state.fval);
  state.capacity = capacity;
endfunction

function [state, grown] = grow_levels (state)
  ## After the level capacity was exceeded the recorded highest level is
  ## clamped; the new arrays must cover every level actually stored.
  grown = false;
  most = max_level_capacity (state.n);
  if (state.levels >= most)
    return;
  endif
  nf = state.intarray(1);
  highest = max ([1; double(state.level(1:nf))]);
  if (highest > most)
    return;
  endif
  state = make_level_arrays (state, min (most, max (2 * state.levels, highest)));
  state.intarray(3) = highest;
  grown = true;
endfunction

function state = call_boxpart (state, iteration_limit)
  ## boxpart writes parent, offset, cut_dim, level, fval, level_min and
  ## intarray in place. Each is first made an array of this call alone (an
  ## element assigned to itself unshares it), so no copy held elsewhere, the
  ## caller's state included, ever sees the writes.
  parent = state.parent;       parent(1) = parent(1);
  offset = state.offset;       offset(1) = offset(1);
  cut_dim = state.cut_dim;     cut_dim(1) = cut_dim(1);
  level = state.level;         level(1) = level(1);
  fval = state.fval;           fval(1) = fval(1);
  level_min = state.level_min; level_min(1) = level_min(1);
  intarray = state.intarray;
  intarray(6) = iteration_limit;
  intarray(7) = double (logical (state.options.show_progress));
  intarray(9) = state.capacity;
  intarray(10) = state.levels;

  boxpart (state.objective, state.box_width, state.root_center, parent, offset,
           cut_dim, level, fval, state.level_size, level_min, state.params,
           intarray, state.extra{:});

  ## A maximisation hands its values back negated; keep them in the user's
  ## sign between calls.
  nf = intarray(1);
  if (state.options.maximise)
    fval(1:nf) = -fval(1:nf);
  endif
  state.parent = parent;
  state.offset = offset;
  state.cut_dim = cut_dim;
  state.level = level;
  state.fval = fval;
  state.level_min = level_min;
  state.intarray = intarray;
  state.calls += 1;
endfunction

function state = resume_search (state, max_evaluations, max_iterations)
  if (! (isnumeric (max_evaluations) && isscalar (max_evaluations) && max_evaluations <= 2147483647))
    error ("direct:options", "The evaluation budget must be between 1 and 2147483647.");
  endif
  state.options.max_evaluations = max (state.options.max_evaluations, max_evaluations);
  state.options.max_iterations = max (state.options.max_iterations, max_iterations);
  grown = state.options.max_evaluations > state.capacity;
  if (grown)
    state = grow_points (state, state.options.max_evaluations);
  endif

  ## Nothing to do when the budget or iteration limit that stopped the
  ## search has not been raised.
  last = state.intarray(5);
  done = (last == 1 && ! grown) || (last != 0 && state.intarray(2) >= state.options.max_iterations);

  ## With progress shown, the iterations run in growing batches so that the
  ## lines appear as the search goes; the search itself does not depend on
  ## how its iterations are split between calls.
  batch = 1;
  while (! done)
    if (state.intarray(5) == 2)
      [state, grown_levels] = grow_levels (state);
      if (! grown_levels)
        break;
      endif
    endif
    limit = state.options.max_iterations;
    if (state.options.show_progress)
      limit = min (limit, state.intarray(2) + batch);
      batch = min (2 * batch, 2 ^ 20);
    endif
    state = call_boxpart (state, limit);
    status = state.intarray(5);
    done = ! ((status == 6 && state.intarray(2) < state.options.max_iterations)
              || (status == 2 && state.levels < max_level_capacity (state.n)));
  endwhile

  state.status = state.intarray(5);
  state.status_text = status_text (state.status);
  state.evaluations = state.intarray(1);
  state.iterations = state.intarray(2);
endfunction

function [x, fval] = best_point (state)
  ## The best point's centre, rebuilt as boxpart builds it: the root centre
  ## plus the offsets along its path, added from the root down.
  best = state.intarray(4);
  path = [];
  j = best;
  while (j > 1)
    path(end+1) = j;
    j = double (state.parent(j));
  endwhile
  x = state.root_center;
  for j = fliplr (path)
    d = double (state.cut_dim(j));
    x(d) = x(d) + state.offset(j);
  endfor
  fval = state.fval(best);
endfunction

function t = status_text (status)
  switch (status)
    case 1
      t = "evaluation budget reached";
    case 2
      t = "level capacity reached";
    case 3
      t = "target value reached";
    case 4
      t = "within the relative tolerance of the target";
    case 5
      t = "best box reached the size-stop level";
    case 6
      t = "iteration limit reached";
    otherwise
      t = "not run";
  endswitch
endfunction
