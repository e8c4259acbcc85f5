-- cookies.sqlite of a current Firefox profile (netwerk/cookie/CookiePersistentStorage.cpp,
-- schema 16): three cookies of a visited site.
PRAGMA journal_mode = WAL;
PRAGMA user_version = 16;
CREATE TABLE moz_cookies ( id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER, isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0, schemeMap INTEGER DEFAULT 0, isPartitionedAttributeSet INTEGER DEFAULT 0, updateTime INTEGER, CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));

INSERT INTO moz_cookies (name, value, host, path, expiry, lastAccessed, creationTime, isSecure, isHttpOnly, sameSite, schemeMap, updateTime) VALUES
  ('session', 'a1', '.visited.example', '/', 1796536000000, 1765000000000000, 1765000000000000, 1, 1, 1, 2, 1765000000000000),
  ('prefs', 'b2', '.visited.example', '/', 1796536000000, 1765000000000000, 1765000000000000, 1, 0, 0, 2, 1765000000000000),
  ('consent', 'c3', 'www.visited.example', '/', 1796536000000, 1765000000000000, 1765000000000000, 1, 0, 1, 2, 1765000000000000);
