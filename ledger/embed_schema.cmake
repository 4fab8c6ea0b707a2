# Writes the schema file into a C++ source as one string constant.
file(READ ${IN} SQL)
file(WRITE ${OUT} "// Generated from ledger/schema.sql.\n#include \"ledger/ledger_db.h\"\n\nnamespace ltb::ledger {\nconst char kLedgerSchemaSql[] = R\"LTBSQL(${SQL})LTBSQL\";\n}  // namespace ltb::ledger\n")
