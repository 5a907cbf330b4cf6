// A mathematician's topic as a small file of ours describes it: what the topic screen shows and hands
// on (heading, pictures, quiz, the two documents and the two activities).
//
// The file is UTF-8 text of "name = value" lines; blank lines and lines starting with "#" are
// skipped. Every name below must be given once ("activity" twice), and nothing else:
//   entry = 1                        which of the main menu's twelve mathematicians (0 to 11)
//   heading = Euclid                 the topic screen's heading, and the activities'
//   picture = Images\euclid.jpg      the topic screen's backdrop
//   portrait = images\euclidsm.jpg   the quiz's and the score screen's small portrait
//   quiz = multiple\Euclid.txt       a worksheet file
//   key facts = key euclid, 3        a document: its page stem and page count (1 to 26)
//   notes = euclid, 2                Teacher's Notes, the same way
//   activity = primes, Products of Primes   an activity on the tile board and its caption
// Files are named as the program names them: a folder of the working folder, a backslash, a name
// of letters, digits, spaces, dots, hyphens and underscores.
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
struct TopicActivity {
    QString kind;  // one of topicActivityKinds()
    QString caption;
};
struct Topic {
    int entry = -1;
    QString heading, picture, portrait, quiz;
    TopicDocument keyFacts, notes;
    std::array<TopicActivity, 2> activities;
};

// The activities a topic can name.
const QStringList& topicActivityKinds();
// The largest topic file read; anything longer is refused unread.
constexpr qsizetype MaxTopicBytes = 16 * 1024;

// Reads a topic file's bytes; a file that breaks any rule above fails with a RuntimeError that says
// which line and why.
Topic parseTopic(const QByteArray& bytes);

}  // namespace core
