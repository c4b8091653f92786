// Checks a dictionary file the way the input method does before it starts: it must load as UTF-8,
// hold more than 100000 entries and list 你 for ㄋㄧˇ. With no argument it checks the bundled file.
#include "Dictionary/DictionaryCheck.hpp"

#include <iostream>

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: kelvo-dictionary-check [data.txt]\n";
        return 1;
    }
    const char* path = argc == 2 ? argv[1] : KELVO_BUNDLED_DICTIONARY;
    try {
        auto lexicon = kelvo::Lexicon::contentsOf(path);
        if (!kelvo::passesDictionaryCheck(*lexicon)) {
            std::cerr << "FAIL: dictionary " << path << " has " << lexicon->entryCount()
                      << " entries; needs more than " << kelvo::dictionaryEntryThreshold
                      << " and 你 for ㄋㄧˇ\n";
            return 1;
        }
        std::cout << "PASS: dictionary " << path << " (" << lexicon->entryCount() << " entries)\n";
        return 0;
    } catch (const kelvo::LexiconError& error) {
        std::cerr << "FAIL: " << error.what() << "\n";
        return 1;
    }
}
