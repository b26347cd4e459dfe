# shellcheck shell=bash
# Sourced by the README's commands. qm_bootstrap SCRIPT ARGS...: installs what is missing (once
# per run), tells once whether this machine can run 32-bit code (QM_RUNS_32BIT is 1 or 0, and
# QM_NO_32BIT_REASON says why not), and, on a machine without a display, runs SCRIPT again on a
# virtual one.
qm_bootstrap() {
  local here
  here=$(dirname "${BASH_SOURCE[0]}")
  if [ -z "${QM_DEPS_DONE:-}" ]; then
    "$here/install-deps.sh"
    export QM_DEPS_DONE=1
  fi
  if [ -z "${QM_RUNS_32BIT:-}" ]; then
    if QM_NO_32BIT_REASON=$("$here/runs-32bit-code.sh"); then
      QM_RUNS_32BIT=1 QM_NO_32BIT_REASON=
    else
      QM_RUNS_32BIT=0
    fi
    export QM_RUNS_32BIT QM_NO_32BIT_REASON
  fi
  if [ -z "${DISPLAY:-}" ]; then
    export QM_VIRTUAL_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
  fi
}
