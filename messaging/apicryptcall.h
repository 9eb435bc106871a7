#pragma once

// The entry point of the Apicrypt library "dllapi.dll": input file, user, folder holding the key
// folder, three unused texts (null) and 0. It writes the enciphered text beside the input file,
// with ".api" added to its name. Windows system libraries' calling convention on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define ORVANE_APICRYPT_CALL __stdcall
#else
#define ORVANE_APICRYPT_CALL
#endif

extern "C" {
typedef int(ORVANE_APICRYPT_CALL *ApicCrypter2Function)(const char *inputFile, const char *user,
                                                       const char *folder, const char *text1,
                                                       const char *text2, const char *text3, int flags);
}

#define ORVANE_APICRYPT_ENTRY_POINT "APICcrypter2"
// The way back, with the same arguments: the enciphered input file's clear text is written beside
// it, under its name without the ".api" ending.
#define ORVANE_APICRYPT_DECIPHER_ENTRY_POINT "APICdecrypter2"
