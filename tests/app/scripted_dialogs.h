#pragma once
// A DialogSeam that answers from queues prepared by the test and records every question, so
// window tests never open a real dialog. An unexpected question fails the test.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/dialog_seam.h"

namespace quillfen {

class ScriptedDialogs : public DialogSeam {
  public:
    struct Log {
        std::vector<std::string> asked;  // "title: text" of each question and warning
        std::deque<Answer> answers;
        std::deque<std::optional<QString>> fileNames;
        std::deque<std::optional<CodecChoice>> codecs;
    };

    /// `log` is not owned; the test keeps it beyond the window.
    explicit ScriptedDialogs(Log& log) : log_(log) {}

    Answer ask(const QString& text, const QString& title) override {
        record(title, text);
        if (log_.answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return Answer::Cancel;
        }
        Answer answer = log_.answers.front();
        log_.answers.pop_front();
        return answer;
    }
    void warn(const QString& text, const QString& title) override { record(title, text); }
    std::optional<QString> openFileName(const QString& title, const QString&) override {
        return nextName(title);
    }
    std::optional<QString> saveFileName(const QString& title, const QString&) override {
        return nextName(title);
    }
    std::optional<CodecChoice> chooseCompression(const QString& movieFile) override {
        record("compression", movieFile);
        if (log_.codecs.empty()) return std::nullopt;
        std::optional<CodecChoice> codec = log_.codecs.front();
        log_.codecs.pop_front();
        return codec;
    }

  private:
    void record(const QString& title, const QString& text) {
        log_.asked.push_back(title.toStdString() + ": " + text.toStdString());
    }
    std::optional<QString> nextName(const QString& title) {
        record(title, {});
        if (log_.fileNames.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << title.toStdString();
            return std::nullopt;
        }
        std::optional<QString> name = log_.fileNames.front();
        log_.fileNames.pop_front();
        return name;
    }

    Log& log_;
};

}  // namespace quillfen
