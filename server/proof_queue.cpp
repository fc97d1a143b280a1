// SPDX-License-Identifier: GPL-3.0-or-later
// A job is claimed by a conditional update, which only one worker can win in either database; a
// worker's lease ends at a time in the job's row, so a dead worker's job is free again once it passed.
// Addresses take turns as in fair queueing: each job gets a turn number when it is queued.
#include "server/proof_queue.h"

#include <soci/soci.h>

#include <algorithm>
#include <mutex>

#include "base/cp1252.h"
#include "server/hex.h"
#include "server/upload_checks.h"

namespace bestenliste {

namespace {

// Ends an open transaction when a statement in it failed.
void roll_back(soci::session& sql) {
    try {
        sql << "ROLLBACK";
    } catch (const soci::soci_error&) {
        // Lost with the connection; the transaction ends with it.
    }
}

}  // namespace

std::optional<int64_t> ProofQueue::enqueue(std::span<const uint8_t> upload, std::span<const uint8_t> replay,
                                           const std::string& address, int64_t now_ms) {
    std::unique_lock writer(store_.sqlite_writer_, std::defer_lock);
    if (!store_.postgresql_) writer.lock();
    soci::session sql(*store_.pool_);
    store_.revive(sql);
    const std::string upload_hex = to_hex(upload), replay_hex = to_hex(replay);
    const long long queued = now_ms;
    long long id = 0, listed = 0;
    sql << (store_.postgresql_ ? "BEGIN" : "BEGIN IMMEDIATE");
    try {
        sql << "SELECT id FROM entries WHERE upload = :upload", soci::use(upload_hex), soci::into(listed);
        if (sql.got_data()) {
            sql << "ROLLBACK";
            return std::nullopt;
        }
        // The id comes from the entries' own sequence, so it orders this upload among all others
        // by the time it arrived, as the list ranks equal results.
        if (store_.postgresql_) {
            sql << "SELECT nextval(pg_get_serial_sequence('entries', 'id'))", soci::into(id);
        } else {
            sql << "INSERT INTO sqlite_sequence (name, seq) SELECT 'entries', (SELECT coalesce(max(id), 0) FROM "
                   "entries) "
                   "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = 'entries')";
            sql << "UPDATE sqlite_sequence SET seq = seq + 1 WHERE name = 'entries'";
            sql << "SELECT seq FROM sqlite_sequence WHERE name = 'entries'", soci::into(id);
        }
        // Its address's next turn, but never one already passed: an address that waits long gets
        // the turn now being proved, and a flooding one queues behind it.
        long long own = 0, current = 0, stored = 0;
        sql << "SELECT coalesce(max(turn), 0) FROM proof_jobs WHERE address = :address AND state = 0",
            soci::use(address), soci::into(own);
        sql << "SELECT coalesce(min(turn), 0) FROM proof_jobs WHERE state = 0", soci::into(current);
        const long long turn = std::max(own + 1, current);
        sql << "INSERT INTO proof_jobs (id, upload, replay, address, queued, turn) VALUES (:id, :upload, :replay, "
               ":address, :queued, :turn) ON CONFLICT DO NOTHING RETURNING id",
            soci::use(id), soci::use(upload_hex), soci::use(replay_hex), soci::use(address), soci::use(queued),
            soci::use(turn), soci::into(stored);
        const bool inserted = sql.got_data();
        // Committed before the caller answers, as every upload is.
        sql << "COMMIT";
        if (!inserted) return std::nullopt;
    } catch (...) {
        roll_back(sql);
        throw;
    }
    return id;
}

std::optional<ProofJob> ProofQueue::claim(const std::string& worker, int64_t now_ms, std::chrono::milliseconds lease) {
    const long long now = now_ms, until = now_ms + lease.count();
    // Another worker may win the same job between choosing and claiming it: then choose again.
    for (int tries = 0; tries < 8; ++tries) {
        long long id = 0;
        {
            soci::session sql(*store_.pool_);
            store_.revive(sql);
            sql << "SELECT id FROM proof_jobs WHERE state = 0 AND lease_until <= :now ORDER BY turn, id LIMIT 1",
                soci::use(now), soci::into(id);
            if (!sql.got_data()) return std::nullopt;
        }
        std::unique_lock writer(store_.sqlite_writer_, std::defer_lock);
        if (!store_.postgresql_) writer.lock();
        soci::session sql(*store_.pool_);
        store_.revive(sql);
        soci::statement take =
            (sql.prepare << "UPDATE proof_jobs SET worker = :worker, lease_until = :until, attempts = attempts + 1 "
                            "WHERE id = :id AND state = 0 AND lease_until <= :now",
             soci::use(worker), soci::use(until), soci::use(id), soci::use(now));
        take.execute(true);
        if (take.get_affected_rows() != 1) continue;
        ProofJob job;
        job.id = id;
        std::string upload_hex, replay_hex;
        sql << "SELECT upload, replay, attempts FROM proof_jobs WHERE id = :id", soci::use(id), soci::into(upload_hex),
            soci::into(replay_hex), soci::into(job.attempts);
        job.upload = from_hex(upload_hex).value_or(std::vector<uint8_t>{});
        job.replay = from_hex(replay_hex).value_or(std::vector<uint8_t>{});
        return job;
    }
    return std::nullopt;
}

void ProofQueue::finish(int64_t id, Reason reason, int64_t now_ms, std::chrono::microseconds taken) {
    std::unique_lock writer(store_.sqlite_writer_, std::defer_lock);
    if (!store_.postgresql_) writer.lock();
    soci::session sql(*store_.pool_);
    store_.revive(sql);
    const int state = static_cast<int>(reason == Reason::Accepted ? ProofState::Proved : ProofState::Refused);
    const std::string code(describe(reason).code);
    const long long job = id, finished = now_ms, micros = taken.count();
    const int bucket = static_cast<int>(Histogram::bucket_of(static_cast<double>(micros) / 1e6));
    sql << (store_.postgresql_ ? "BEGIN" : "BEGIN IMMEDIATE");
    try {
        soci::statement done =
            (sql.prepare << "UPDATE proof_jobs SET state = :state, reason = :reason, finished = :finished, "
                            "upload = NULL, replay = NULL WHERE id = :id AND state = 0",
             soci::use(state), soci::use(code), soci::use(finished), soci::use(job));
        done.execute(true);
        // A few rows (outcomes times buckets) hold every proof ever done, so /metrics reads them
        // at once however long the list has served.
        if (done.get_affected_rows() == 1) {
            sql << "INSERT INTO proof_tally (outcome, bucket, proofs, microseconds) VALUES (:outcome, :bucket, 1, "
                   ":micros) ON CONFLICT (outcome, bucket) DO UPDATE SET proofs = proof_tally.proofs + 1, "
                   "microseconds = proof_tally.microseconds + excluded.microseconds",
                soci::use(code), soci::use(bucket), soci::use(micros);
        }
        sql << "COMMIT";
    } catch (...) {
        roll_back(sql);
        throw;
    }
}

ProofFigures ProofQueue::figures() {
    ProofFigures figures;
    soci::session sql(*store_.pool_);
    store_.revive(sql);
    long long waiting = 0, proofs = 0, micros = 0;
    int bucket = 0;
    std::string outcome;
    sql << "SELECT count(*) FROM proof_jobs WHERE state = 0", soci::into(waiting);
    figures.waiting = waiting;
    soci::statement st = (sql.prepare << "SELECT outcome, bucket, proofs, microseconds FROM proof_tally",
                          soci::into(outcome), soci::into(bucket), soci::into(proofs), soci::into(micros));
    st.execute();
    while (st.fetch()) {
        figures.outcomes[outcome] += static_cast<uint64_t>(proofs);
        figures.durations.add(static_cast<size_t>(std::max(bucket, 0)), static_cast<uint64_t>(proofs),
                              static_cast<double>(micros) / 1e6);
    }
    return figures;
}

std::optional<ProofStatus> ProofQueue::status(int64_t id) {
    soci::session sql(*store_.pool_);
    store_.revive(sql);
    const long long job = id;
    int state = 0;
    long long queued = 0, finished = 0;
    std::string reason, worker;
    soci::indicator reason_given = soci::i_null, worker_given = soci::i_null, finished_given = soci::i_null;
    sql << "SELECT state, reason, worker, queued, finished FROM proof_jobs WHERE id = :id", soci::use(job),
        soci::into(state), soci::into(reason, reason_given), soci::into(worker, worker_given), soci::into(queued),
        soci::into(finished, finished_given);
    if (!sql.got_data()) return std::nullopt;
    ProofStatus status;
    status.state = static_cast<ProofState>(state);
    if (state == static_cast<int>(ProofState::Refused) && reason_given == soci::i_ok) status.reason = reason;
    if (worker_given == soci::i_ok) status.worker = worker;
    status.queued_ms = queued;
    if (finished_given == soci::i_ok) status.finished_ms = finished;
    return status;
}

int64_t ProofQueue::waiting() {
    soci::session sql(*store_.pool_);
    store_.revive(sql);
    long long n = 0;
    sql << "SELECT count(*) FROM proof_jobs WHERE state = 0", soci::into(n);
    return n;
}

std::vector<ListedEntry> ProofQueue::waiting_entries(int64_t limit) {
    std::vector<ListedEntry> entries;
    soci::session sql(*store_.pool_);
    store_.revive(sql);
    long long id = 0, queued = 0, count = limit;
    std::string upload_hex;
    soci::indicator upload_given = soci::i_null;
    soci::statement st = (sql.prepare << "SELECT id, upload, queued FROM proof_jobs WHERE state = 0 "
                                         "ORDER BY turn, id LIMIT :limit",
                          soci::use(count), soci::into(id), soci::into(upload_hex, upload_given), soci::into(queued));
    st.execute();
    while (st.fetch()) {
        if (upload_given != soci::i_ok) continue;
        // The file passed these checks when it was queued.
        const CheckedUpload checked = check_upload_bytes(from_hex(upload_hex).value_or(std::vector<uint8_t>{}));
        if (checked.reason != Reason::Accepted) continue;
        entries.push_back({id, 0, cp1252::to_utf8(checked.entry.FeldText[1]), checked.entry.t, queued, false});
    }
    return entries;
}

}  // namespace bestenliste
