#!/bin/sh
# The module exports exactly the registration entry and the command entry, nothing else.
# Usage: module_exports.sh MODULE
exports=$(nm -D --defined-only "$1" | awk '{print $3}' | sort | tr '\n' ' ')
echo "exports: $exports"
[ "$exports" = "PluginDataEntryFunction2 PlurionMain " ]
