# Run by cpack before it packs, only when the tree was configured without a tool the package's
# documents need: stop with the reason instead of packing a package that silently lacks them.
list(JOIN CPACK_VARDELMO_MISSING " and " missing)
message(FATAL_ERROR "vardelmo: refusing to make the package: no ${missing} was found when "
                    "this tree was configured. Install it (scripts/install-deps package) and "
                    "configure again.")
