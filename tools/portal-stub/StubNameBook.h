#pragma once

#include <string>

namespace portalstub {

// Which account a name sent at a sign-in or a registration is, so that no two accounts
// read alike. Beside the accounts (StubStore) the book keeps each person's name under its
// likeness (StubNames): a name is entered, in its normal form, before its account is
// opened, and a name whose likeness is entered under another name, or is a stub player's
// or "banned"'s, opens no account. An account kept before the book (or under a name not
// in its normal form) goes on signing in, by its name as kept or in its normal form.
class StubNameBook {
public:
    // What a readable name (StubNames' readableName) is to the accounts.
    enum class Kind {
        Person,     // a person's: his account, kept or to be opened, is `name`'s
        StubPlayer, // a stub player's own name, or "banned": `name`, no one else's
        Alike,      // reads as another person's or a stub player's name: opens nothing
        NotValid,   // holds a space a person cannot tell from a blank (plainlySpaced)
        Failed,     // the accounts file failed: nothing entered
    };
    struct Found {
        Kind kind;
        std::string name;
    };
    // The account `name` signs in to, or whether it may be opened: a free name is entered
    // in one transaction, so that two connections never enter two names that read alike.
    static Found claim(const std::string& name);
    // Enters the names of the accounts the file kept before the book (the first process
    // does, as the stub starts): each under its likeness, the first of two alike.
    static void enterKeptAccounts();
    // Enters `name`, one the stub itself gives a person (the social network's), unless
    // another name reads as it.
    static void enter(const std::string& name);

    // Why a name found so opens no account and signs no one in, in the player's language:
    // not valid, reads like another player's, or the server is busy ("" for a person's
    // name or a stub player's own, which a sign-in signs in and a registration finds taken).
    static std::string refusal(const Found& found);
};

} // namespace portalstub
