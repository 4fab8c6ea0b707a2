-- The ledger database (<home>/ledger.db), schema version 1.
--
-- Texts are UTF-8; the host converts them to CP932 when it hands records to
-- the program. Dates are yyyymmdd integers. Amounts are integers in units of
-- 1/10000 yen (12.5 yen is 125000).

CREATE TABLE meta (
  key   TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
-- Rows: ('schema_version', '1').

-- Ledger-wide settings (key/value). Known keys:
--   package_name     text put in place of ES_APRPACKAGENAME by DispMsg
--   link_answer      what ExpSysLink answers: 0 go on, 1 refused, other error
--   nonfatal_codes   comma-separated host error codes that are not fatal
--   folder_output    Windows folder of folder type 0 (ends in a backslash)
--   folder_settings  Windows folder of folder type 1 (ends in a backslash)
--   default_user     user id used when none is given
CREATE TABLE settings (
  key   TEXT PRIMARY KEY,
  value TEXT NOT NULL
);

CREATE TABLE datasets (
  no                 INTEGER PRIMARY KEY CHECK (no > 0),
  data_id            TEXT NOT NULL UNIQUE CHECK (length(data_id) BETWEEN 1 AND 15),
  company_name       TEXT NOT NULL DEFAULT '',
  period_start       INTEGER NOT NULL,
  period_end         INTEGER NOT NULL,
  interim_flag       INTEGER NOT NULL DEFAULT 0,   -- 1: interim closing after month 6
  past_results       INTEGER NOT NULL DEFAULT 0,   -- 99 marks past-results data
  entity_kind        INTEGER NOT NULL DEFAULT 0,   -- 0/1 corporation, 3/4 individual
  income_mode        INTEGER NOT NULL DEFAULT 0,   -- individual: 1 business, 2 real estate, 3 by department
  closing_day        INTEGER NOT NULL DEFAULT 0,   -- 0: last day of the month
  -- Consumption-tax settings, bytes 0, 2, 3, 4, 5 of the 12-byte record.
  filing_class       INTEGER NOT NULL DEFAULT 2,   -- 0 exempt, 1 simplified, 2 principle
  rounding           INTEGER NOT NULL DEFAULT 0,   -- 0, 1, 2
  deduction_method   INTEGER NOT NULL DEFAULT 0,   -- 0 individual attribution, 1 lump-sum
  main_business_type INTEGER NOT NULL DEFAULT 0,   -- 0..6
  tax_included       INTEGER NOT NULL DEFAULT 0,   -- non-zero: tax-included books
  tax_rate_count     INTEGER NOT NULL DEFAULT 3 CHECK (tax_rate_count BETWEEN 1 AND 3),
  CHECK (period_start <= period_end)
);

CREATE TABLE users (
  user_id      TEXT PRIMARY KEY CHECK (length(user_id) BETWEEN 1 AND 64),
  first_no     INTEGER NOT NULL DEFAULT 0,
  selected_no  INTEGER NOT NULL REFERENCES datasets(no)
);

CREATE TABLE accounts (
  dataset         INTEGER NOT NULL REFERENCES datasets(no),
  code            INTEGER NOT NULL,
  code_text       TEXT NOT NULL CHECK (length(code_text) <= 15),
  name            TEXT NOT NULL DEFAULT '',
  class_code      INTEGER NOT NULL DEFAULT 0,    -- classification code (int32)
  balance_side    INTEGER NOT NULL DEFAULT 1,    -- 1 debit, 2 credit
  summary_line    INTEGER NOT NULL DEFAULT 0,    -- 1: a summary line
  exclusion_a     INTEGER NOT NULL DEFAULT 0,
  exclusion_b     INTEGER NOT NULL DEFAULT 0,
  list_exclusion  INTEGER NOT NULL DEFAULT 0,    -- non-zero: left out of account lists
  PRIMARY KEY (dataset, code)
);

CREATE TABLE departments (
  dataset      INTEGER NOT NULL REFERENCES datasets(no),
  code         INTEGER NOT NULL CHECK (code > 0),
  name         TEXT NOT NULL DEFAULT '',
  kind         INTEGER NOT NULL DEFAULT 0,
  link_field   INTEGER NOT NULL DEFAULT 0,
  income_type  INTEGER NOT NULL DEFAULT 1,       -- 1 business, 3 real estate
  PRIMARY KEY (dataset, code)
);

-- One journal entry, both sides. month_slot is the month position 1..12 in
-- the accounting period, or 15 (interim closing) / 18 (year-end closing)
-- for closing entries (closing = 1). Walks order the closing codes inside
-- the period: 15 right after position 6, 18 after position 12.
-- A side: account (0 none), department (0 none), tax-excluded amount, tax
-- amount, tax category, tax rate in hundredths of a percent (800, 500, 300,
-- 1000; 0 none), business type 0..6.
CREATE TABLE journal (
  dataset        INTEGER NOT NULL REFERENCES datasets(no),
  entry_no       INTEGER NOT NULL,
  entry_date     INTEGER NOT NULL,
  month_slot     INTEGER NOT NULL CHECK (month_slot BETWEEN 1 AND 12 OR month_slot IN (15, 18)),
  closing        INTEGER NOT NULL DEFAULT 0,
  description    TEXT NOT NULL DEFAULT '',
  debit_account  INTEGER NOT NULL DEFAULT 0,
  debit_dept     INTEGER NOT NULL DEFAULT 0,
  debit_amount   INTEGER NOT NULL DEFAULT 0,
  debit_tax      INTEGER NOT NULL DEFAULT 0,
  debit_category INTEGER NOT NULL DEFAULT 0 CHECK (debit_category BETWEEN 0 AND 255),
  debit_rate     INTEGER NOT NULL DEFAULT 0,
  debit_btype    INTEGER NOT NULL DEFAULT 0 CHECK (debit_btype BETWEEN 0 AND 6),
  credit_account  INTEGER NOT NULL DEFAULT 0,
  credit_dept     INTEGER NOT NULL DEFAULT 0,
  credit_amount   INTEGER NOT NULL DEFAULT 0,
  credit_tax      INTEGER NOT NULL DEFAULT 0,
  credit_category INTEGER NOT NULL DEFAULT 0 CHECK (credit_category BETWEEN 0 AND 255),
  credit_rate     INTEGER NOT NULL DEFAULT 0,
  credit_btype    INTEGER NOT NULL DEFAULT 0 CHECK (credit_btype BETWEEN 0 AND 6),
  PRIMARY KEY (dataset, entry_no)
);
CREATE INDEX journal_by_month ON journal (dataset, month_slot, entry_no);

CREATE TABLE fixed_assets (
  dataset      INTEGER NOT NULL REFERENCES datasets(no),
  asset_no     INTEGER NOT NULL,
  name         TEXT NOT NULL DEFAULT '',
  acquired     INTEGER NOT NULL,                 -- yyyymmdd
  kind         INTEGER NOT NULL DEFAULT 1,       -- 9: deferred asset
  amount       INTEGER NOT NULL DEFAULT 0,
  income_type  INTEGER NOT NULL DEFAULT 1,       -- 1 business, 2 real estate
  PRIMARY KEY (dataset, asset_no)
);
CREATE INDEX fixed_assets_by_date ON fixed_assets (dataset, acquired);

-- The values saved in the tax-return screen: the 15360-byte record.
CREATE TABLE saved_tax_return (
  dataset  INTEGER PRIMARY KEY REFERENCES datasets(no),
  data     BLOB NOT NULL CHECK (length(data) = 15360)
);
