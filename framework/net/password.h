#pragma once

#include <QString>

// Operator passwords are stored as one text "pbkdf2-sha256$ITERATIONS$SALT$HASH" (salt and hash in
// base64): a random 16-byte salt and PBKDF2 with HMAC-SHA256, so that a stolen table is slow to attack.
// The iteration count is stored with each hash, so raising it leaves older hashes valid.

// Today's recommended iteration count for PBKDF2 with HMAC-SHA256.
constexpr int recommendedPasswordIterations = 600000;

// The iteration count of new hashes, and the one below which a stored hash is replaced at sign-in;
// process-wide, the recommended count unless set.
int passwordIterations();
void setPasswordIterations(int iterations);

// Hashes a password with a fresh random salt.
QString hashPassword(const QString &password, int iterations = passwordIterations());

// True when the password matches the stored text; the comparison takes the same time whatever the
// mismatch, and a malformed stored text never matches.
bool verifyPassword(const QString &password, const QString &stored);

// Costs what verifying against a current hash costs, for a sign-in whose operator does not exist:
// the time of a refusal does not tell which operator codes exist.
void spendPasswordCheck(const QString &password);

// A sign-in's check: true when the password matches the stored text; an empty stored text (no such
// operator) is false at the cost of a match.
bool checkSignInPassword(const QString &password, const QString &stored);

// True when the stored text was hashed with fewer iterations than passwordIterations().
bool needsRehash(const QString &stored);

// Key derivations run by this process, for tests and benchmarks to see what a sign-in costs.
quint64 passwordDerivations();
