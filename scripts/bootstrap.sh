# shellcheck shell=bash
# Sourced by the README's commands. qm_bootstrap SCRIPT ARGS...: installs what is missing (once
# per run) and, on a machine without a display, runs SCRIPT again on a virtual one.
qm_bootstrap() {
  if [ -z "${QM_DEPS_DONE:-}" ]; then
    "$(dirname "${BASH_SOURCE[0]}")/install-deps.sh"
    export QM_DEPS_DONE=1
  fi
  if [ -z "${DISPLAY:-}" ]; then
    export QM_VIRTUAL_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
  fi
}
