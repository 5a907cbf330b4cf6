// A mathematician's topic as a small file of ours describes it: what the topic screen shows and hands
// on (heading, pictures and what they show, quiz, the two documents and the two boards).
//
// The file is UTF-8 text of "name = value" lines; blank lines and lines starting with "#" are
// skipped. Every name below must be given once ("activity" twice), and nothing else:
//   entry = 1                        which of the main menu's twelve mathematicians (0 to 11)
//   heading = Euclid                 the topic screen's heading, and the activities'
//   picture = Images\euclid.jpg, Euclid holding compasses in front of a temple, ...
//                                    the topic screen's backdrop, and what it shows (for a screen reader)
//   portrait = Images\euclidsm.jpg, Euclid holding compasses in front of a temple, ...
//                                    the quiz's and the score screen's small portrait, likewise
//   quiz = multiple\Euclid.txt       a worksheet file; its name (Euclid) is no teacher's worksheet's
//   key facts = key euclid, 3        a document: its page stem and page count (1 to 26)
//   notes = euclid, 2                Teacher's Notes, the same way
//   activity = primes, Products of Primes   a board by its kind and its caption
// A board's kind is a word of small letters and hyphens; which kinds there are is the boards'
// registry's to say (activities/BoardKinds.h), not the reader's.
// Files are named as the program names them: a folder of the working folder, a backslash, a name
// of letters, digits, spaces, dots, hyphens and underscores. The folder is read in any letter case
// and taken as the program spells it ("images" is "Images"), so it is found without a listing.
// Each mathematician's topic is the file named by the last word of the menu's entry, in small letters
// (TopicFiles); no other file of the folder is read.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace core {

struct TopicDocument {
    QString stem;
    int pages = 0;
};
// A picture file, and what it shows in a few words for a screen reader.
struct PictureFile {
    QString file, shows;
};
struct TopicActivity {
    QString kind;  // a board kind's key ("primes")
    QString caption;
};
struct Topic {
    int entry = -1;
    QString heading;
    PictureFile picture, portrait;
    QString quiz;
    TopicDocument keyFacts, notes;
    std::array<TopicActivity, 2> activities;
    // The quiz's title, its file's name less ".txt": a title no teacher's worksheet may take.
    QString quizTitle() const;
};
// The topic files by the main menu's entry (0 to 11).
constexpr const char* TopicFiles[12] = {
    "topics\\pythagoras.txt",   "topics\\euclid.txt",  "topics\\eratosthenes.txt", "topics\\archimedes.txt",
    "topics\\al-khwarizmi.txt", "topics\\khayyam.txt", "topics\\fibonacci.txt",    "topics\\napier.txt",
    "topics\\descartes.txt",    "topics\\pascal.txt",  "topics\\euler.txt",        "topics\\lovelace.txt"};
// The largest topic file read; anything longer is refused unread.
constexpr qsizetype MaxTopicBytes = 16 * 1024;

// Reads a topic file's bytes; a file that breaks any rule above fails with a RuntimeError that says
// which line and why.
Topic parseTopic(const QByteArray& bytes);

}  // namespace core
