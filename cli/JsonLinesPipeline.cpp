#include "JsonLinesPipeline.h"

#include "InputFile.h"
#include "JsonLineRecognizer.h"
#include "LineBatchReader.h"
#include "ProgressLine.h"
#include "StreamIo.h"

#include "support/CheckedOutput.h"

namespace {

// Enough batches for every worker to have one waiting while others are written.
constexpr int BatchesPerJob = 3;

QString TooLongReason()
{
    return QStringLiteral("the line is ") + TooLargeReason();
}

} // namespace

struct JsonLinesPipeline::Batch
{
    QByteArray input;
    std::string output;
    std::string messages;
    qint64 bytesDone = 0; // of the input, up to the end of this batch
    qint64 blocks = 0;
    bool oversize = false; // input is empty and stands for one line too long to read
    bool done = false;
};

JsonLinesPipeline::JsonLinesPipeline(const FieldRows &catalogue, const Settings &settings,
                                     const BlockOutput &output, Recognizer recognizer, int jobs,
                                     ProgressLine &progress)
    : m_progress(progress)
{
    for (int k = 0; k < jobs * BatchesPerJob; ++k) {
        m_batches.push_back(std::make_unique<Batch>());
        m_free.push_back(m_batches.back().get());
    }
    // Ctrl-C stays with the reading thread, where it ends the wait for input.
    StreamIo::BlockInterrupt(true);
    for (int k = 0; k < jobs; ++k) {
        m_recognizers.push_back(
            std::make_unique<JsonLineRecognizer>(catalogue, settings, output, recognizer));
        m_workers.emplace_back([this, k] { work(*m_recognizers[size_t(k)]); });
    }
    StreamIo::BlockInterrupt(false);
}

JsonLinesPipeline::~JsonLinesPipeline()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_workReady.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
}

bool JsonLinesPipeline::Run(LineBatchReader &reader)
{
    while (Batch *batch = takeFreeBatch()) {
        if (!reader.Next(batch->input)) {
            const std::lock_guard lock(m_mutex);
            m_free.push_back(batch);
            break;
        }
        batch->bytesDone = reader.BytesDone();
        batch->oversize = reader.Oversize();
        batch->done = false;
        {
            const std::lock_guard lock(m_mutex);
            m_inOrder.push_back(batch);
            m_waiting.push_back(batch);
        }
        m_workReady.notify_one();
    }
    std::unique_lock lock(m_mutex);
    m_batchWritten.wait(lock, [this] { return m_inOrder.empty(); });
    return !m_writeFailed;
}

JsonLinesPipeline::Batch *JsonLinesPipeline::takeFreeBatch()
{
    std::unique_lock lock(m_mutex);
    m_batchWritten.wait(lock, [this] { return !m_free.empty() || m_writeFailed; });
    if (m_writeFailed)
        return nullptr;
    Batch *batch = m_free.back();
    m_free.pop_back();
    return batch;
}

void JsonLinesPipeline::work(JsonLineRecognizer &recognizer)
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_workReady.wait(lock, [this] { return !m_waiting.empty() || m_closing; });
        if (m_waiting.empty())
            return;
        Batch &batch = *m_waiting.front();
        m_waiting.pop_front();
        lock.unlock();

        batch.output.clear();
        batch.messages.clear();
        BlockAnswers answers{batch.output, batch.messages};
        batch.blocks = batch.oversize ? recognizer.RefuseLine(TooLongReason(), answers)
                                      : recognizer.RecognizeLines(batch.input, answers);

        lock.lock();
        batch.done = true;
        writeFinished(lock);
    }
}

// Whoever finishes the oldest batch writes it and every finished one after it;
// a batch finished meanwhile is picked up before the writer lets go.
void JsonLinesPipeline::writeFinished(std::unique_lock<std::mutex> &lock)
{
    if (m_writing)
        return;
    m_writing = true;
    while (!m_inOrder.empty() && m_inOrder.front()->done) {
        Batch *batch = m_inOrder.front();
        m_inOrder.pop_front();
        const bool failedBefore = m_writeFailed;
        lock.unlock();
        const bool written = !failedBefore && write(*batch);
        lock.lock();
        m_writeFailed = !written;
        m_free.push_back(batch);
        m_batchWritten.notify_all();
    }
    m_writing = false;
}

bool JsonLinesPipeline::write(const Batch &batch)
{
    if (!batch.messages.empty()) {
        m_progress.Clear();
        CheckedOutput::WriteAll(CheckedOutput::StandardError, batch.messages);
    }
    if (!CheckedOutput::WriteAll(CheckedOutput::StandardOutput, batch.output, &m_writeFailure))
        return false;
    m_blocksWritten += batch.blocks;
    m_progress.Update(m_blocksWritten, batch.bytesDone);
    return true;
}
