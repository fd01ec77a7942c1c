#pragma once
// Answers of the store's web services are read whole and parsed on the
// window thread, so each is bounded before it is parsed: a reply that states
// or brings more than the bound is aborted and counts as a failed answer.

#include <QtGlobal>

class QNetworkReply;

const qint64 kMaxAnswerBytes = 4 * 1024 * 1024;

// Watches the reply from now on; past limit bytes (stated or received) it is
// aborted with one log line.
void limitAnswerSize(QNetworkReply *reply, qint64 limit = kMaxAnswerBytes);
// Whether limitAnswerSize aborted the reply (its one log line is written).
bool answerOverLimit(const QNetworkReply *reply);
