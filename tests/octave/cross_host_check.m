function [ok, why] = cross_host_check(name, nout, argtext, mexrun, root)
  % One call through both hosts; ok when the results agree bit for bit.
  ok = false;
  why = '';
  args = cell(size(argtext));
  for i = 1:numel(argtext)
    args{i} = eval(argtext{i});
  end
  outs = cell(1, max(nout, 1));
  oct_err = '';
  try
    if nout == 0
      feval(name, args{:});
      outs = {};
    else
      [outs{1:nout}] = feval(name, args{:});
    end
  catch e
    oct_err = strip_prefix(e.message, name);
  end

  quoted = cellfun(@(s) ['''' strrep(s, '''', '''\''''') ''''], argtext, 'UniformOutput', false);
  cmd = sprintf('%s --json --nargout %d --plugins %s %s %s', mexrun, nout, ...
                fullfile(root, 'build', 'mex'), name, strjoin(quoted, ' '));
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

function v = exact_values(text)
  % A JSON array of numbers and "NaN"/"Inf"/"-Inf" strings, read exactly.
  if strcmp(text, 'null') || strcmp(text, '[]')
    v = zeros(0, 1);
    return;
  end
  tokens = strsplit(strrep(text(2:end-1), '"', ''), ',');
  v = str2double(tokens(:));
end

function v = json_values(x)
  % Numbers, or a cell mixing numbers with "NaN"/"Inf"/"-Inf".
  if isempty(x)
    v = zeros(0, 1);
  elseif iscell(x)
    v = zeros(numel(x), 1);
    for i = 1:numel(x)
      if ischar(x{i})
        v(i) = str2double(x{i});
      else
        v(i) = x{i};
      end
    end
  else
    v = double(x(:));
  end
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
  re = json_values(jo.re);
  im = [];
  if jo.complex
    im = json_values(jo.im);
  end
  if jo.sparse
    m = double(jo.dims(1));
    n = double(jo.dims(2));
    jc = double(jo.jc(:));
    ir = double(jo.ir(:));
    col = zeros(numel(ir), 1);
    for c = 1:n
      col(jc(c)+1:jc(c+1)) = c;
    end
    full_re = zeros(m * n, 1);
    full_re(ir + 1 + m * (col - 1)) = re(1:numel(ir));
    re = full_re;
    if jo.complex
      full_im = zeros(m * n, 1);
      full_im(ir + 1 + m * (col - 1)) = im(1:numel(ir));
      im = full_im;
    end
  end
  a = double(real(full(o(:))));
  if ~bits_equal(a, re)
    what = 'real parts differ';
    return;
  end
  if jo.complex && ~bits_equal(double(imag(full(o(:)))), im)
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
