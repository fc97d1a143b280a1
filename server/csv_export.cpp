// SPDX-License-Identifier: GPL-3.0-or-later
// One row per entry in list order, texts as UTF-8. A field that a spreadsheet would take for a
// formula gets a leading apostrophe, since the file's texts come from strangers.
#include "server/csv_export.h"

#include <string>

#include "base/cp1252.h"
#include "base/csv.h"
#include "server/age_text.h"
#include "server/time_text.h"
#include "score/upload_file.h"

namespace bestenliste {

using base::csv_field;

void export_csv(EntryStore& store, std::FILE* out) {
    std::fputs(
        "rank,nickname,years,months,days,result_days,uploaded,proved,"
        "name,vorname,geboren,strasse,plz,ort,email\n",
        out);
    store.for_each_ranked([out](const ExportedEntry& row) {
        const auto& entry = row.listed;
        const Age age = age_of(entry.days);
        std::string line = std::to_string(entry.rank) + ',' + csv_field(entry.nickname);
        for (const int32_t number : {age.years, age.months, age.days, entry.days}) {
            line += ',' + std::to_string(number);
        }
        line += ',' + iso_time(entry.uploaded_ms) + ',' + (entry.proved ? "1" : "0");
        const auto check = score::check_upload(row.upload);
        // Form order: Name, Vorname, Geboren, Strasse, PLZ, Ort, eMail.
        for (const int field : {2, 3, 4, 5, 6, 7, 8}) {
            line += ',' + csv_field(cp1252::to_utf8(check.entry.FeldText[field]));
        }
        line += '\n';
        std::fputs(line.c_str(), out);
    });
}

}  // namespace bestenliste
