#pragma once

#include "recognition/Recognizer.h"

#include <QString>
#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct BlockOutput;
class FieldRows;
class JsonLineRecognizer;
class LineBatchReader;
class ProgressLine;
struct Settings;

// Recognises JSON lines on several threads and writes the answers in input
// order, each batch as soon as it and all before it are done. A bounded number
// of batches is in flight and their buffers are reused, so memory does not
// grow with the input.
class JsonLinesPipeline
{
public:
    JsonLinesPipeline(const FieldRows &catalogue, const Settings &settings,
                      const BlockOutput &output, Recognizer recognizer, int jobs,
                      ProgressLine &progress);
    ~JsonLinesPipeline();
    JsonLinesPipeline(const JsonLinesPipeline &) = delete;
    JsonLinesPipeline &operator=(const JsonLinesPipeline &) = delete;

    // Reads every batch and answers it; false when standard output could not
    // be written.
    bool Run(LineBatchReader &reader);
    // Why standard output could not be written.
    QString WriteFailure() const { return m_writeFailure; }

private:
    struct Batch;

    Batch *takeFreeBatch();
    void work(JsonLineRecognizer &recognizer);
    void writeFinished(std::unique_lock<std::mutex> &lock);
    bool write(const Batch &batch);

    ProgressLine &m_progress;
    std::vector<std::unique_ptr<JsonLineRecognizer>> m_recognizers;
    std::vector<std::thread> m_workers;
    std::vector<std::unique_ptr<Batch>> m_batches;

    std::mutex m_mutex;
    std::condition_variable m_workReady;
    std::condition_variable m_batchWritten;
    std::vector<Batch *> m_free;
    std::deque<Batch *> m_waiting; // for a worker
    std::deque<Batch *> m_inOrder; // every batch in flight, in input order
    bool m_writing = false;        // one thread writes at a time, in order
    bool m_closing = false;
    bool m_writeFailed = false;
    QString m_writeFailure;     // by the writing thread only
    qint64 m_blocksWritten = 0; // by the writing thread only
};
