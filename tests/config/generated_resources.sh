#!/usr/bin/env bash
# Reruns the generator of the templates file and the crossover catalogue into a temporary folder
# and compares its output byte for byte with the committed files.
set -uo pipefail
source_dir=$1
out=$(mktemp -d "${TMPDIR:-/tmp}/generated.XXXXXX")
trap 'rm -rf "$out"' EXIT
/usr/bin/python3 "$source_dir/sources/config/tools/generate_config_resources.py" "$out" || exit 1
status=0
for file in json/SDKs/Keldaran2/Extensions/yoxl/Objects/Kalo480/Kalo480ConfigBuilderTemplates.json \
            xml/CrossoverConfigurations.xml; do
    if ! cmp "$out/$file" "$source_dir/$file"; then
        echo "$file is not what generate_config_resources.py writes: rerun it and commit the result"
        status=1
    fi
done
exit $status
