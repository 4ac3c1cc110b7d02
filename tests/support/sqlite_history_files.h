#pragma once

// Browser history databases written with SQLite itself, as the browsers write them: Chromium's
// `urls` table and Firefox's `moz_places`. Portable: no <windows.h>, no test framework; a
// failing statement ends the test program, since no test can go on from there.

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace snapdesk::sqlite_history_files {

struct Visit {
    std::string address;
    std::string title;
    std::int64_t time = 0;  // in the browser's own scale
};

// One open connection to a database file, closed when it goes.
class Connection {
  public:
    explicit Connection(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
            fail("open " + path);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { sqlite3_close(db_); }

    void exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            fail(sql);
        }
    }
    // Inserts rows through one prepared statement with three parameters (text, text, integer);
    // the texts stay in `visits` while SQLite uses them.
    void insert(const std::string& sql, const std::vector<Visit>& visits) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            fail(sql);
        }
        exec("BEGIN");
        for (const Visit& visit : visits) {
            sqlite3_bind_text(statement, 1, visit.address.c_str(), -1, nullptr);
            sqlite3_bind_text(statement, 2, visit.title.c_str(), -1, nullptr);
            sqlite3_bind_int64(statement, 3, visit.time);
            if (sqlite3_step(statement) != SQLITE_DONE) {
                fail(sql);
            }
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        exec("COMMIT");
    }

  private:
    [[noreturn]] void fail(const std::string& what) {
        std::fprintf(stderr, "SQLite: %s: %s\n", what.c_str(), db_ ? sqlite3_errmsg(db_) : "");
        std::abort();
    }
    sqlite3* db_ = nullptr;
};

// Chromium's table as today's versions create it; `oldSchema` adds the columns of older ones.
inline void createChromiumHistory(Connection& db, bool oldSchema = false) {
    db.exec(std::string("CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, "
                        "value LONGVARCHAR);"
                        "CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT,") +
            (oldSchema ? "favicon_id INTEGER DEFAULT 0 NOT NULL," : "") +
            "url LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER DEFAULT 0 NOT NULL, "
            "typed_count INTEGER DEFAULT 0 NOT NULL, last_visit_time INTEGER NOT NULL, "
            "hidden INTEGER DEFAULT 0 NOT NULL" +
            (oldSchema ? ", presentation_index INTEGER DEFAULT -1 NOT NULL" : "") + ")");
}
inline void addChromiumVisits(Connection& db, const std::vector<Visit>& visits) {
    db.insert("INSERT INTO urls(url, title, last_visit_time) VALUES(?, ?, ?)", visits);
}
inline void writeChromiumHistory(const std::string& path, const std::vector<Visit>& visits,
                                 bool oldSchema = false) {
    Connection db(path);
    createChromiumHistory(db, oldSchema);
    addChromiumVisits(db, visits);
}

inline void createFirefoxPlaces(Connection& db) {
    db.exec(
        "CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, "
        "rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT "
        "NULL, typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL, "
        "last_visit_date INTEGER, guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, "
        "url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT, preview_image_url TEXT)");
}
inline void addFirefoxVisits(Connection& db, const std::vector<Visit>& visits) {
    db.insert("INSERT INTO moz_places(url, title, last_visit_date) VALUES(?, ?, ?)", visits);
}

}  // namespace snapdesk::sqlite_history_files
