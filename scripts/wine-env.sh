# Sourced by the scripts that run Windows programs: the environment of the project's private
# Wine prefix. Usage: use_wine_prefix DIR
use_wine_prefix() {
    export WINEPREFIX
    WINEPREFIX=$(realpath -m "$1")
    # No debug chatter, no Mono or Gecko prompts, Chinese menus and dialogs.
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8
}
