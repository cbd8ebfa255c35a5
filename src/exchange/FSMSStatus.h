#pragma once

// The SMS status: what is known of the SMS account's connection and credit.
// There is no connection to ask, so it says so.

class QWidget;

// "SMS Status": a small box owned by `owner` with the two lines of markup
// and an "Ok" button, shown modally.
void ShowSMSStatus(QWidget* owner);

// Its text.
inline constexpr char SMSStatusText[] = "<B>Connection: </B>Not Active<BR><B>Credits: </B>Unknown";
