// SPDX-License-Identifier: GPL-3.0-or-later
// Handing a message to the system's mail transport through its sendmail interface, as every
// MTA on a Unix system offers it (Exim, Postfix, OpenSMTPD).
#pragma once

#include <string>

namespace bestenliste {

// Runs `program -i -f <> -- recipient` with the message on its standard input; the empty
// envelope sender keeps a failing answer from bouncing back to the list. Without a shell, so that
// no address can become a command. Returns an empty string, or what went wrong.
std::string send_mail(const std::string& program, const std::string& recipient, const std::string& message);

}  // namespace bestenliste
