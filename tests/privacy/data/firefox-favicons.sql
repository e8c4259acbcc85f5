-- favicons.sqlite of a current Firefox profile (nsPlacesTables.h): the icons of two pages.
PRAGMA journal_mode = WAL;
PRAGMA user_version = 78;
CREATE TABLE moz_icons ( id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL, fixed_icon_url_hash INTEGER NOT NULL, width INTEGER NOT NULL DEFAULT 0, root INTEGER NOT NULL DEFAULT 0, color INTEGER, expire_ms INTEGER NOT NULL DEFAULT 0, data BLOB );
CREATE TABLE moz_pages_w_icons ( id INTEGER PRIMARY KEY, page_url TEXT NOT NULL, page_url_hash INTEGER NOT NULL );
CREATE TABLE moz_icons_to_pages ( page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL, expire_ms INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (page_id, icon_id), FOREIGN KEY (page_id) REFERENCES moz_pages_w_icons ON DELETE CASCADE, FOREIGN KEY (icon_id) REFERENCES moz_icons ON DELETE CASCADE ) WITHOUT ROWID;
CREATE INDEX moz_icons_iconurlhashindex ON moz_icons (fixed_icon_url_hash);
CREATE INDEX moz_pages_w_icons_urlhashindex ON moz_pages_w_icons (page_url_hash);

INSERT INTO moz_icons (id, icon_url, fixed_icon_url_hash, width, root, expire_ms, data) VALUES
  (1, 'https://visited.example/favicon.ico', 47357137744431, 16, 1, 1765600000000, x'89504E47'),
  (2, 'https://kept.example/favicon.ico', 47358002915546, 16, 1, 1765600000000, x'89504E47');
INSERT INTO moz_pages_w_icons VALUES
  (1, 'https://visited.example/', 47356411089529), (2, 'https://kept.example/', 47357510338771);
INSERT INTO moz_icons_to_pages (page_id, icon_id) VALUES (1, 1), (2, 2);
