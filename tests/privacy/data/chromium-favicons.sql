-- Favicons of a current Chromium profile (components/favicon/core, version 9): two icons
-- mapped to three pages.
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE favicon_bitmaps(id INTEGER PRIMARY KEY,icon_id INTEGER NOT NULL,last_updated INTEGER DEFAULT 0,image_data BLOB,width INTEGER DEFAULT 0,height INTEGER DEFAULT 0,last_requested INTEGER DEFAULT 0);
CREATE TABLE favicons(id INTEGER PRIMARY KEY,url LONGVARCHAR NOT NULL,icon_type INTEGER DEFAULT 1);
CREATE TABLE icon_mapping(id INTEGER PRIMARY KEY,page_url LONGVARCHAR NOT NULL,icon_id INTEGER,page_url_type INTEGER DEFAULT 0);
CREATE INDEX favicon_bitmaps_icon_id ON favicon_bitmaps(icon_id);
CREATE INDEX favicons_url ON favicons(url);
CREATE INDEX icon_mapping_icon_id_idx ON icon_mapping(icon_id);
CREATE INDEX icon_mapping_page_url_idx ON icon_mapping(page_url);

INSERT INTO meta VALUES ('mmap_status', '-1'), ('version', '9'), ('last_compatible_version', '9');
INSERT INTO favicons VALUES (1, 'https://visited.example/favicon.ico', 1), (2, 'https://www.visited.example/favicon.ico', 1);
INSERT INTO favicon_bitmaps VALUES (1, 1, 13410000000000000, x'89504E47', 16, 16, 0), (2, 2, 13410000200000000, x'89504E47', 16, 16, 0);
INSERT INTO icon_mapping VALUES
  (1, 'https://visited.example/', 1, 0), (2, 'https://visited.example/news', 1, 0),
  (3, 'https://www.visited.example/search?q=visited', 2, 0);
