// Test helper: while alive, every AfxMessageBox is recorded instead of shown
// and answered with a chosen button. The previous hook comes back on destruction.
#pragma once

#include <afx/afx.h>

#include <vector>

class MessageBoxRecorder {
public:
    struct Box {
        CString text;
        UINT type;
    };

    explicit MessageBoxRecorder(int answer = IDOK) : m_answer(answer)
    {
        m_previousHook = AfxSetMessageBoxHook(&MessageBoxRecorder::Record, this, &m_previousContext);
    }
    ~MessageBoxRecorder() { AfxSetMessageBoxHook(m_previousHook, m_previousContext); }

    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<Box>& Boxes() const { return m_boxes; }
    void Clear() { m_boxes.clear(); }

private:
    static int Record(LPCTSTR text, UINT type, void* context)
    {
        auto* self = static_cast<MessageBoxRecorder*>(context);
        self->m_boxes.push_back({CString(text), type});
        return self->m_answer;
    }

    int m_answer;
    std::vector<Box> m_boxes;
    AFX_MESSAGEBOX_HOOK m_previousHook = nullptr;
    void* m_previousContext = nullptr;
};
