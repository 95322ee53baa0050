// CSoundConfigDlg: one sound from a list and one option of a radio group.
#include <QNWindows.h>

IMPLEMENT_DYNAMIC(CSoundConfigDlg, CDialog)

namespace {
constexpr int kSoundCombo = 7401;
constexpr int kFirstOption = 7403;
} // namespace

CSoundConfigDlg::CSoundConfigDlg(CWnd* pParent) : CDialog(IDD, pParent), m_nOption(0) {}

CSoundConfigDlg::CSoundConfigDlg(CWnd* pParent, int nOption, CString strSound)
    : CDialog(IDD, pParent), m_nOption(nOption), m_strSound(strSound)
{
}

CSoundConfigDlg::~CSoundConfigDlg() { m_arrSounds.RemoveAll(); }

void CSoundConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kSoundCombo, m_ctlSound);
    DDX_Radio(pDX, kFirstOption, m_nOption);
    if (pDX->m_bSaveAndValidate)
        m_ctlSound.GetWindowText(m_strSound);
}

BOOL CSoundConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (INT_PTR i = 0; i < m_arrSounds.GetSize(); ++i)
        m_ctlSound.AddString(m_arrSounds.GetAt(i));
    if (!m_strSound.IsEmpty())
        m_ctlSound.SelectString(-1, m_strSound);
    else
        m_ctlSound.SetCurSel(-1);
    CenterWindow();
    return TRUE;
}

void CSoundConfigDlg::OnOK()
{
    CString text;
    m_ctlSound.GetWindowText(text);
    if (text.IsEmpty())
        return;
    CDialog::OnOK();
}

BEGIN_MESSAGE_MAP(CSoundConfigDlg, CDialog)
END_MESSAGE_MAP()
