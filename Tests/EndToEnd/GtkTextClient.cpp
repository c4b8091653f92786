// A GTK document window as users have it (built for GTK 3 and for GTK 4): a text view that takes the
// input method's commits and marked text through GTK's own input method module, and a field beside it
// to move the focus to. Each change prints one line, `view=TEXT<TAB>marked=TEXT<TAB>field=TEXT`, so a
// test sees what the document holds and what marked text is left, as a user would.
// usage: gtk-text-client TITLE
#include <cstdio>
#include <gtk/gtk.h>
#include <string>

namespace {

GtkTextView* view = nullptr;
GtkWidget* field = nullptr;
std::string marked;

std::string fieldText() {
#if GTK_MAJOR_VERSION >= 4
    return gtk_editable_get_text(GTK_EDITABLE(field));
#else
    return gtk_entry_get_text(GTK_ENTRY(field));
#endif
}

void report() {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    char* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    std::printf("view=%s\tmarked=%s\tfield=%s\n", text, marked.c_str(), fieldText().c_str());
    std::fflush(stdout);
    g_free(text);
}

void onPreedit(GtkWidget*, const char* preedit, gpointer) {
    marked = preedit ? preedit : "";
    report();
}

} // namespace

int main(int argc, char** argv) {
    const char* title = argc > 1 ? argv[1] : "gtk-text-client";
#if GTK_MAJOR_VERSION >= 4
    gtk_init();
    GtkWidget* window = gtk_window_new();
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    view = GTK_TEXT_VIEW(gtk_text_view_new());
    field = gtk_entry_new();
    gtk_widget_set_vexpand(GTK_WIDGET(view), TRUE);
    gtk_box_append(GTK_BOX(box), GTK_WIDGET(view));
    gtk_box_append(GTK_BOX(box), field);
    gtk_window_set_child(GTK_WINDOW(window), box);
    g_signal_connect(field, "changed", G_CALLBACK(+[](GtkEditable*, gpointer) { report(); }), nullptr);
#else
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    view = GTK_TEXT_VIEW(gtk_text_view_new());
    field = gtk_entry_new();
    gtk_box_pack_start(GTK_BOX(box), GTK_WIDGET(view), TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(box), field, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    g_signal_connect(field, "changed", G_CALLBACK(+[](GtkEditable*, gpointer) { report(); }), nullptr);
    g_signal_connect(field, "preedit-changed", G_CALLBACK(onPreedit), nullptr);
#endif
    g_signal_connect(view, "preedit-changed", G_CALLBACK(onPreedit), nullptr);
    g_signal_connect(gtk_text_view_get_buffer(view), "changed",
                     G_CALLBACK(+[](GtkTextBuffer*, gpointer) { report(); }), nullptr);
    gtk_window_set_title(GTK_WINDOW(window), title);
    gtk_window_set_default_size(GTK_WINDOW(window), 600, 300);
#if GTK_MAJOR_VERSION >= 4
    gtk_window_present(GTK_WINDOW(window));
    gtk_widget_grab_focus(GTK_WIDGET(view));
    report();
    while (g_list_model_get_n_items(gtk_window_get_toplevels()) > 0)
        g_main_context_iteration(nullptr, TRUE);
#else
    gtk_widget_show_all(window);
    gtk_widget_grab_focus(GTK_WIDGET(view));
    report();
    gtk_main();
#endif
    return 0;
}
