#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QLineEdit>
#include <QPointer>
#include <QString>

class QPushButton;

namespace zul {

// A single-line edit whose selection stays where the user left it, and visible, while another
// control has the focus (Qt would drop it on every focus change).
class KeptSelectionEdit : public QLineEdit {
 public:
  explicit KeptSelectionEdit(QWidget* parent = nullptr);

 protected:
  void focusOutEvent(QFocusEvent* event) override;
};

// The captions of the two range buttons while nothing is selected.
inline constexpr const char* kForwardPlaceholder = "[von,bis]";
inline constexpr const char* kBackwardPlaceholder = "[-von,-bis]";

struct RangeCaptions {
  QString forward;
  QString backward;
};

// The captions for a selection [a, b) of a name of `length` characters: the 1-based positions
// from the start, and the same characters counted from the end (-1 the last). Without at least
// one selected character (or with a negative bound) they are the placeholders.
RangeCaptions MakeRangeCaptions(int a, int b, int length);

// The read-only sample-name field. It shows a name given as bytes and reports its selection in
// the engine's characters (one code point, or one invalid byte), so the captions it puts on the
// two range buttons pick exactly the selected characters in the range pass.
class CRangeEdit : public KeptSelectionEdit {
 public:
  explicit CRangeEdit(QWidget* parent = nullptr);

  // Shows `name` (invalid bytes as U+FFFD) with the caret at its start and nothing selected.
  void SetName(std::string_view name);
  const std::string& Name() const { return m_name; }

  // The buttons whose captions follow the selection; non-owning.
  void SetButtons(QPushButton* forward, QPushButton* backward);

  // The selection as (first, one past the last) in characters; both the caret with none.
  std::pair<int, int> CharSelection() const;
  int CharLength() const { return static_cast<int>(m_charStarts.size()) - 1; }

  void UpdateRangeCaptions();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateTip();
  void SetCaptions(const RangeCaptions& captions);
  int CharIndexAt(int utf16Position) const;

  std::string m_name;
  // UTF-16 position at which each character of the name starts, then the text's length.
  std::vector<int> m_charStarts{0};
  QPointer<QPushButton> m_forward;
  QPointer<QPushButton> m_backward;
};

}  // namespace zul
