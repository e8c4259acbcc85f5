-- Network/Cookies of a current Chromium profile (net/extras/sqlite, version 24): four cookies of
-- a visited site.
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE cookies(creation_utc INTEGER NOT NULL,host_key TEXT NOT NULL,top_frame_site_key TEXT NOT NULL,name TEXT NOT NULL,value TEXT NOT NULL,encrypted_value BLOB NOT NULL,path TEXT NOT NULL,expires_utc INTEGER NOT NULL,is_secure INTEGER NOT NULL,is_httponly INTEGER NOT NULL,last_access_utc INTEGER NOT NULL,has_expires INTEGER NOT NULL,is_persistent INTEGER NOT NULL,priority INTEGER NOT NULL,samesite INTEGER NOT NULL,source_scheme INTEGER NOT NULL,source_port INTEGER NOT NULL,last_update_utc INTEGER NOT NULL,source_type INTEGER NOT NULL,has_cross_site_ancestor INTEGER NOT NULL);
CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, has_cross_site_ancestor, name, path, source_scheme, source_port);

INSERT INTO meta VALUES ('mmap_status', '-1'), ('version', '24'), ('last_compatible_version', '24');
INSERT INTO cookies VALUES
  (13410000000000001, '.visited.example', '', 'session', '', x'7631300A', '/', 13441536000000000, 1, 1, 13410000000000001, 1, 1, 1, 1, 2, 443, 13410000000000001, 1, 0),
  (13410000000000002, '.visited.example', '', 'prefs', '', x'7631300B', '/', 13441536000000000, 1, 0, 13410000000000002, 1, 1, 1, 0, 2, 443, 13410000000000002, 1, 0),
  (13410000000000003, 'www.visited.example', '', 'consent', '', x'7631300C', '/', 13441536000000000, 1, 0, 13410000000000003, 1, 1, 1, 1, 2, 443, 13410000000000003, 2, 0),
  (13410000000000004, '.ads.example', 'https://visited.example', 'id', '', x'7631300D', '/', 13441536000000000, 1, 1, 13410000000000004, 1, 1, 1, 0, 2, 443, 13410000000000004, 1, 1);
