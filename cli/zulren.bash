# bash completion for zulren, the command line of Zul.

_zulren() {
  local cur prev words cword split
  _init_completion -s || return

  case $prev in
    --sort)
      COMPREPLY=($(compgen -W 'name created modified' -- "$cur"))
      return
      ;;
    --name-case)
      COMPREPLY=($(compgen -W 'keep lower upper first words' -- "$cur"))
      return
      ;;
    --ext-case)
      COMPREPLY=($(compgen -W 'keep lower upper first' -- "$cur"))
      return
      ;;
    --filter | --save)
      _filedir fil
      return
      ;;
    --files0-from)
      _filedir
      return
      ;;
    --mask | --search | --replace | --start | --step | --digits | --fill)
      return
      ;;
  esac
  $split && return

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W '--mask= --search= --replace= --start= --step= --digits= --fill=
      --name-case= --ext-case= --filter= --save= --files0-from= --recursive --sort= --apply
      --undo --null --json --help --version' -- "$cur"))
    [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
    return
  fi

  # Without --filter and --mask the first argument is the filter file.
  local i arg filter_given=false operands=0 ends=false
  for ((i = 1; i < cword; i++)); do
    arg=${words[i]}
    if $ends || [[ $arg != -* || $arg == - ]]; then
      [[ ${words[i - 1]} == @(--sort|--name-case|--ext-case|--filter|--save|--files0-from|--mask|--search|--replace|--start|--step|--digits|--fill) ]] &&
        ! $ends && continue
      ((operands++))
    elif [[ $arg == -- ]]; then
      ends=true
    elif [[ $arg == @(--filter|--mask)* ]]; then
      filter_given=true
    fi
  done
  if ! $filter_given && ((operands == 0)); then
    _filedir fil
  else
    _filedir
  fi
} && complete -F _zulren zulren
