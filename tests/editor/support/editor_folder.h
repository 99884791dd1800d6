// A game folder of the test's own with the editor in its "editor" subfolder:
// the built game's pictures, enemy definitions, music, help file and the
// editor's "exp.dat" and English translation, copied so that a test may
// change or remove any of them.
#pragma once

#include <QString>

#include <filesystem>

class EditorFolder {
  public:
    EditorFolder();
    ~EditorFolder();

    // The game folder ("<game>/editor" is the editor's own folder).
    const std::filesystem::path& game() const { return game_; }
    QString gamePath(const std::string& relative) const;
    QString stageFile(const std::string& name) const { return gamePath("stage/" + name); }

  private:
    std::filesystem::path game_;
};

// The file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
