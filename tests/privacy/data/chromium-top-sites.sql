-- Top Sites of a current Chromium profile (components/history/core/browser/top_sites_database.cc,
-- version 5): the two most visited pages.
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE top_sites(url TEXT NOT NULL PRIMARY KEY,url_rank INTEGER NOT NULL,title TEXT NOT NULL);

INSERT INTO meta VALUES ('mmap_status', '-1'), ('version', '5'), ('last_compatible_version', '5');
INSERT INTO top_sites VALUES ('https://visited.example/', 0, 'Visited'), ('https://visited.example/news', 1, 'News');
