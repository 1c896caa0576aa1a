// The GTK 3 anchor of the start-up benchmark: a 600x360 window with a
// label, a progress bar and a button, the widgets the launcher's window
// shows. Runs until it is ended.
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "update");
  gtk_window_set_default_size(GTK_WINDOW(window), 600, 360);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  gtk_container_set_border_width(GTK_CONTAINER(box), 24);
  GtkWidget* label = gtk_label_new("正在下载...(45%)");
  GtkWidget* progress = gtk_progress_bar_new();
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(progress), 0.45);
  GtkWidget* button = gtk_button_new_with_label("重试");
  gtk_box_pack_end(GTK_BOX(box), button, FALSE, FALSE, 0);
  gtk_box_pack_end(GTK_BOX(box), progress, FALSE, FALSE, 0);
  gtk_box_pack_end(GTK_BOX(box), label, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(window), box);

  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
