/* Quenvale's default skin: a Qt style sheet applied to the main window. */
QPushButton {
  background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f9fb, stop:1 #dde5ea);
  border: 1px solid #8aa3b0;
  border-radius: 3px;
  color: #1f3440;
  padding: 2px 8px;
}
QPushButton:hover { background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e7eef2); border-color: #547d92; }
QPushButton:pressed { background-color: #cdd9e0; }
QPushButton:focus { border: 2px solid #1f5f7a; padding: 1px 7px; }
QGroupBox { border: 1px solid #b4c3cb; border-radius: 4px; margin-top: 8px; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: #547d92; }
QLineEdit { border: 1px solid #a9b8c0; border-radius: 2px; background: #ffffff; selection-background-color: #547d92; }
QLineEdit:focus { border: 2px solid #1f5f7a; }
QTreeWidget, QListView { border: 1px solid #a9b8c0; background: #ffffff; selection-background-color: #547d92; }
QHeaderView::section { background: #547d92; color: #ffffff; border: 0; border-right: 1px solid #6f93a5; padding: 2px 4px; }
