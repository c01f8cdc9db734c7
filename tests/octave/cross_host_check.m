function [ok, why] = cross_host_check(name, nout, argtext, mexrun, plugins)
  % One call through both hosts; ok when the results agree bit for bit:
  % the same outputs (class, size, storage, stored entries and their
  % values), or the same error message; and in either case the same text
  % printed by the plug-in and the same warnings.
  ok = false;
  why = '';
  args = cell(size(argtext));
  for i = 1:numel(argtext)
    args{i} = eval(argtext{i});
  end
  outs = cell(1, max(nout, 1));
  oct_err = '';
  captured = '';
  % Warnings go into the captured text as "warning: <text>" lines (without
  % the location lines); mexPrintf output goes there as it is.
  old_backtrace = warning('query', 'backtrace');
  warning('off', 'backtrace');
  try
    if nout == 0
      captured = evalc('feval(name, args{:});');
      outs = {};
    else
      captured = evalc('[outs{1:nout}] = feval(name, args{:});');
    end
  catch e
    oct_err = strip_prefix(e.message, name);
  end
  warning(old_backtrace.state, 'backtrace');
  [oct_printed, oct_warnings] = split_captured(captured);

  quoted = cellfun(@(s) ['''' strrep(s, '''', '''\''''') ''''], argtext, 'UniformOutput', false);
  cmd = sprintf('%s --json --nargout %d --plugins %s %s %s', mexrun, nout, plugins, name, strjoin(quoted, ' '));
  [~, out] = system(cmd);
  j = jsondecode(out);

  if isfield(j, 'error')
    if isempty(oct_err)
      why = ['only the embedded host failed: ' j.error];
    elseif ~strcmp(oct_err, j.error)
      why = sprintf('messages differ: octave "%s", mexrun "%s"', oct_err, j.error);
    else
      ok = true;
    end
    return;
  end
  if ~isempty(oct_err)
    why = ['only octave failed: ' oct_err];
    return;
  end
  if ~strcmp(oct_printed, j.printed)
    why = sprintf('printed text differs:\n--- octave\n%s--- mexrun\n%s', oct_printed, j.printed);
    return;
  end
  mex_warnings = j.warnings;
  if isempty(mex_warnings)
    mex_warnings = {};
  elseif ischar(mex_warnings)
    mex_warnings = {mex_warnings};
  end
  if ~isequal(reshape(oct_warnings, [], 1), reshape(mex_warnings, [], 1))
    why = sprintf('warnings differ: octave {%s}, mexrun {%s}', strjoin(oct_warnings, ' | '), ...
                  strjoin(reshape(mex_warnings, 1, []), ' | '));
    return;
  end
  jouts = j.outputs;
  if isstruct(jouts)
    jouts = num2cell(jouts);
  end
  % jsondecode does not round-trip every double: read the value arrays from
  % the text itself, in order (re, im of output 1, then of output 2, ...).
  arrays = regexp(out, '"(?:re|im)":(null|\[[^\]]*\])', 'tokens');
  for i = 1:numel(outs)
    jouts{i}.re = exact_values(arrays{2*i-1}{1});
    jouts{i}.im = exact_values(arrays{2*i}{1});
    [same, what] = same_output(outs{i}, jouts{i});
    if ~same
      why = sprintf('output %d: %s', i, what);
      return;
    end
  end
  ok = true;
end

function msg = strip_prefix(msg, name)
  p = [name ': '];
  if strncmp(msg, p, numel(p))
    msg = msg(numel(p)+1:end);
  end
end

function [printed, warnings] = split_captured(text)
  % Lines "warning: <text>" are the warnings; everything else was printed.
  warnings = {};
  printed = '';
  if isempty(text)
    return;
  end
  lines = strsplit(text, "\n");
  keep = true(size(lines));
  for k = 1:numel(lines)
    if strncmp(lines{k}, 'warning: ', 9)
      warnings{end+1} = lines{k}(10:end);
      keep(k) = false;
    end
  end
  printed = strjoin(lines(keep), "\n");
end

function v = exact_values(text)
  % A JSON array of numbers and "NaN"/"Inf"/"-Inf" strings, read exactly.
  if strcmp(text, 'null') || strcmp(text, '[]')
    v = zeros(0, 1);
    return;
  end
  tokens = strsplit(strrep(text(2:end-1), '"', ''), ',');
  v = str2double(tokens(:));
end

function [same, what] = same_output(o, jo)
  same = false;
  what = '';
  if ~strcmp(class(o), jo.class)
    what = sprintf('class %s vs %s', class(o), jo.class);
    return;
  end
  if ~isequal(size(o), reshape(double(jo.dims), 1, []))
    what = sprintf('size %s vs %s', mat2str(size(o)), mat2str(reshape(double(jo.dims), 1, [])));
    return;
  end
  if issparse(o) ~= jo.sparse
    what = sprintf('sparse %d vs %d', issparse(o), jo.sparse);
    return;
  end
  if iscomplex(o) ~= jo.complex
    what = sprintf('complex %d vs %d', iscomplex(o), jo.complex);
    return;
  end
  re = jo.re(:);
  im = jo.im(:);
  if jo.sparse
    % Stored entries, explicit zeros included, in storage order.
    [r, c, v] = find(o);
    jc = double(jo.jc(:));
    ir = double(jo.ir(:));
    col = zeros(numel(ir), 1);
    for k = 1:numel(jc) - 1
      col(jc(k)+1:jc(k+1)) = k;
    end
    if numel(r) ~= numel(ir) || any(r(:) - 1 ~= ir) || any(c(:) ~= col)
      what = sprintf('stored entries differ (%d vs %d)', numel(r), numel(ir));
      return;
    end
    vals = v(:);
  else
    vals = o(:);
  end
  if ~bits_equal(double(real(vals)), re(1:numel(vals)))
    what = 'real parts differ';
    return;
  end
  if jo.complex && ~bits_equal(double(imag(vals)), im(1:numel(vals)))
    what = 'imaginary parts differ';
    return;
  end
  same = true;
end

function eq = bits_equal(a, b)
  a = a(:);
  b = b(:);
  eq = numel(a) == numel(b) && all((a == b & signbit(a) == signbit(b)) | (isnan(a) & isnan(b)));
end
