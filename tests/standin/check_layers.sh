#!/bin/sh
# The stand-in's folders, from the bottom up: each includes only itself and
# the folders before it. Prints every include that reaches up; fails if any.
cd "$(dirname "$0")/../../standin" || exit 2
allowed=""
status=0
for folder in base mesh files pictures calls session; do
  allowed="$allowed $folder"
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    for used in $(sed -n 's|^#include "standin/\([a-z_]*\)/.*|\1|p' "$file"); do
      case " $allowed " in
        *" $used "*) ;;
        *) echo "standin/$file includes standin/$used/, a folder above it"; status=1 ;;
      esac
    done
  done
done
exit $status
