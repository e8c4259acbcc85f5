-- formhistory.sqlite of a current Firefox profile (toolkit/components/satchel, schema 5): two
-- entries typed into forms.
PRAGMA journal_mode = WAL;
PRAGMA user_version = 5;
CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL, timesUsed INTEGER, firstUsed INTEGER, lastUsed INTEGER, guid TEXT);
CREATE TABLE moz_deleted_formhistory (id INTEGER PRIMARY KEY, timeDeleted INTEGER, guid TEXT);
CREATE TABLE moz_sources (id INTEGER PRIMARY KEY, source TEXT NOT NULL);
CREATE TABLE moz_history_to_sources (history_id INTEGER, source_id INTEGER, PRIMARY KEY (history_id, source_id), FOREIGN KEY (history_id) REFERENCES moz_formhistory(id) ON DELETE CASCADE, FOREIGN KEY (source_id) REFERENCES moz_sources(id) ON DELETE CASCADE) WITHOUT ROWID;
CREATE INDEX moz_formhistory_index ON moz_formhistory (fieldname);
CREATE INDEX moz_formhistory_lastused_index ON moz_formhistory (lastUsed);
CREATE INDEX moz_formhistory_guid_index ON moz_formhistory (guid);

INSERT INTO moz_formhistory VALUES
  (1, 'searchbar-history', 'visited.example opening hours', 2, 1764990000000000, 1765000000000000, 'fAAAAAAAAAA1'),
  (2, 'email', 'someone@visited.example', 1, 1765000100000000, 1765000100000000, 'fAAAAAAAAAA2');
