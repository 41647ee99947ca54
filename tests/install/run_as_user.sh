# Shell routines for tests that run an installed program as an ordinary
# user. Source it; needs root (runuser) for run_as_user.
#   as_user_dir <dir>         make a folder the user owns
#   run_as_user <home> <cmd>  run cmd as the user with that HOME, offscreen
#   tree_state <dir>          a listing of every entry with its size, mode
#                             and time, to tell whether a tree changed
TEST_USER=${TEST_USER:-nobody}

as_user_dir() {
  mkdir -p "$1" && chown "$TEST_USER" "$1"
}

run_as_user() {
  local home=$1
  shift
  runuser -u "$TEST_USER" -- env -i PATH=/usr/bin:/bin HOME="$home" \
    QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$@"
}

tree_state() {
  (cd "$1" && find . -printf '%p %s %m %u %T@\n' | sort)
}
