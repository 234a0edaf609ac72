#pragma once

#include <QString>

// Operator passwords are stored as one text "pbkdf2-sha256$ITERATIONS$SALT$HASH" (salt and hash in
// base64): a random 16-byte salt and PBKDF2 with HMAC-SHA256, so that a stolen table is slow to attack.

// Hashes a password with a fresh random salt.
QString hashPassword(const QString &password);

// True when the password matches the stored text; the comparison takes the same time whatever the
// mismatch, and a malformed stored text never matches.
bool verifyPassword(const QString &password, const QString &stored);
