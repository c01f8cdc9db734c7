% Runs every call listed in calls.txt through GNU Octave (the plug-ins of
% build/octave) and through the embedded host (mexrun --json), and checks
% that both give bit-identical numeric outputs or the same error message.
% Usage: octave-cli cross_host.m <repository root> <mexrun binary> [<plug-in dir>]
% The embedded host's plug-ins are taken from <plug-in dir>, by default the
% Release build's build/mex; Octave's from build/octave.
args = argv();
root = args{1};
mexrun = args{2};
plugins = fullfile(root, 'build', 'mex');
if numel(args) >= 3
  plugins = args{3};
end
if ~exist(fullfile(root, 'build', 'octave', 'gausscum.mex'), 'file')
  printf('build/octave holds no plug-ins: run scripts/build-octave.sh first\n');
  exit(77);
end
warning('off', 'Octave:shadowed-function');
addpath(fullfile(root, 'build', 'octave'));
addpath(fullfile(root, 'tests', 'octave'));
text = fileread(fullfile(root, 'tests', 'octave', 'calls.txt'));
lines = strsplit(text, "\n");
failures = 0;
count = 0;
for k = 1:numel(lines)
  line = strtrim(lines{k});
  if isempty(line) || line(1) == '#'
    continue;
  end
  parts = strtrim(strsplit(line, ' | '));
  name = parts{1};
  nout = str2double(parts{2});
  argtext = parts(3:end);
  count = count + 1;
  [ok, why] = cross_host_check(name, nout, argtext, mexrun, plugins);
  if ~ok
    failures = failures + 1;
    printf('MISMATCH %s: %s\n  %s\n', name, line, why);
  end
end
printf('cross-host: %d calls, %d mismatches\n', count, failures);
printf('%d passed, %d failed\n', count - failures, failures);
if failures > 0
  exit(1);
end
