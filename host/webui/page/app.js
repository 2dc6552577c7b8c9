// The host's window in a browser. Everything drawn here comes from the state the host pushes
// (server-sent events); everything a person does is sent back as an action and carried out by
// the host on its own thread, so the page never decides anything itself.
"use strict";

const $ = (id) => document.getElementById(id);
let state = null;
let filePurpose = null;
let drawnWindows = null;
// The report window's lines as the host sent them; a push brings only the new ones.
const report = { clearings: -1, lines: [] };
// Where each list was scrolled by the person, and the scroll position the add-on last set.
const listScroll = new Map();

function send(action) {
  return fetch("api/action", {
    method: "POST",
    headers: { "Content-Type": "application/json" },
    body: JSON.stringify(action),
  }).catch(() => setConnection(false));
}

function element(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined) node.textContent = text;
  return node;
}

function place(node, rect) {
  node.style.left = rect.left + "px";
  node.style.top = rect.top + "px";
  node.style.width = rect.width + "px";
  node.style.height = rect.height + "px";
}

function setConnection(live) {
  const connection = $("connection");
  connection.textContent = live ? "connected" : "connection to the host lost";
  connection.classList.toggle("lost", !live);
}

// ---- Menus -------------------------------------------------------------------------------

function closeMenus() {
  document.querySelectorAll(".menu.open").forEach((menu) => menu.classList.remove("open"));
}

document.addEventListener("click", (event) => {
  const title = event.target.closest(".menu-title");
  const open = title && !title.parentElement.classList.contains("open");
  closeMenus();
  if (open) title.parentElement.classList.add("open");
});

document.querySelectorAll("[data-host-action]").forEach((button) => {
  button.addEventListener("click", () => {
    const what = button.dataset.hostAction;
    if (what === "open" || what === "save-as" || what === "export-ifc") {
      filePurpose = what;
      $("file-form-what").textContent = fileFormTitles[what];
      const file = state && state.project ? state.project.file : "";
      // An export is offered beside its source, never over it.
      $("file-name").value = what === "export-ifc" ? file.replace(/\.[^./]*$/, "") + "-light.ifc" : file;
      replaceBox.hidden = what === "open";
      replaceTickText.textContent = what === "save-as" ? " Replace a file that is not a project"
        : " Replace a file that is not an earlier export";
      replaceTick.checked = false;
      $("file-form").hidden = false;
      $("file-name").focus();
    } else {
      send({ do: what });
    }
  });
});

// Saving over a file that is not a project must be asked for: the person ticks this box.
const replaceBox = element("label", "replace-option");
replaceBox.id = "file-replace-option";
const replaceTick = element("input");
replaceTick.type = "checkbox";
replaceTick.id = "file-replace";
const replaceTickText = document.createTextNode(" Replace a file that is not a project");
replaceBox.append(replaceTick, replaceTickText);
const fileFormTitles = { "open": "Open project", "save-as": "Save project as", "export-ifc": "Export lighter IFC as" };
$("file-name").parentElement.after(replaceBox);

$("file-form").addEventListener("submit", (event) => {
  event.preventDefault();
  $("file-form").hidden = true;
  const action = { do: filePurpose, file: $("file-name").value };
  if (filePurpose !== "open") action.replace = replaceTick.checked;
  send(action);
});
$("file-cancel").addEventListener("click", () => { $("file-form").hidden = true; });
$("progress-stop").addEventListener("click", () => send({ do: "stop" }));
$("show-bars").addEventListener("change", () => state && render(state));

function renderMenus(menus) {
  const items = $("addon-menu-items");
  items.replaceChildren();
  for (const menu of menus) {
    const button = element("button", menu.checked ? "checked" : "", menu.text);
    button.type = "button";
    button.title = menu.prompt;
    button.dataset.menuItem = menu.text;
    button.addEventListener("click", () => send({ do: "menu", text: menu.text }));
    items.append(button);
  }
  if (menus.length === 0) items.append(element("div", "empty", "(no add-on menu items)"));
}

// ---- Dialog items ------------------------------------------------------------------------

// A percentage as the add-on writes it ("12.5 %", "12,5%"); null for any other text.
function percentOf(text) {
  const match = /^\s*(\d+(?:[.,]\d+)?)\s*%\s*$/.exec(text);
  return match ? Math.min(100, parseFloat(match[1].replace(",", "."))) : null;
}

function middleTruncate(text, width) {
  const fits = Math.floor(width / 6);
  if (text.length <= fits || fits <= 3) return text;
  const keep = fits - 3;
  const head = Math.ceil(keep / 2);
  return text.slice(0, head) + "..." + text.slice(text.length - (keep - head));
}

function renderList(panelId, item, node) {
  const list = item.list;
  const modifiersOf = (event) => {
    const modifiers = [];
    if (event.ctrlKey || event.metaKey) modifiers.push("command");
    if (event.shiftKey) modifiers.push("shift");
    if (event.altKey) modifiers.push("option");
    return modifiers;
  };
  list.rows.forEach((row, index) => {
    const rowNode = element("div", "row" + (row.selected ? " selected" : "") + (row.grayed ? " grayed" : ""));
    rowNode.style.height = list.rowHeight + "px";
    rowNode.style.lineHeight = list.rowHeight - 1 + "px";
    rowNode.dataset.row = index + 1;
    list.fields.forEach((field, f) => {
      const cell = row.cells[f];
      if (!cell || field.end <= field.begin) return;
      const width = field.end - field.begin;
      const cellNode = element("div", "cell " + field.justification + " " + field.truncation);
      cellNode.style.left = field.begin + "px";
      cellNode.style.width = width + "px";
      cellNode.dataset.field = f + 1;
      const percent = $("show-bars").checked ? percentOf(cell.text) : null;
      if (percent !== null) {
        cellNode.classList.add("percent-bar");
        cellNode.title = cell.text;
        const fill = element("div", "bar-fill");
        fill.style.width = percent + "%";
        cellNode.append(fill);
      } else {
        if (cell.glyph) cellNode.append(element("span", "glyph", cell.glyph));
        const text = field.truncation === "middle" ? middleTruncate(cell.text, width) : cell.text;
        if (text) cellNode.append((cell.glyph ? " " : "") + text);
      }
      rowNode.append(cellNode);
    });
    rowNode.addEventListener("click", (event) => {
      if (event.detail > 1) return;
      const x = Math.round(event.clientX - node.getBoundingClientRect().left);
      send({ do: "list-click", panel: panelId, item: item.index, row: index + 1, x, modifiers: modifiersOf(event) });
    });
    rowNode.addEventListener("dblclick", (event) => {
      const x = Math.round(event.clientX - node.getBoundingClientRect().left);
      send({ do: "list-double-click", panel: panelId, item: item.index, row: index + 1, x, modifiers: modifiersOf(event) });
    });
    rowNode.addEventListener("contextmenu", (event) => {
      event.preventDefault();
      const x = Math.round(event.clientX - node.getBoundingClientRect().left);
      send({ do: "list-context-menu", panel: panelId, item: item.index, row: index + 1, x });
    });
    node.append(rowNode);
  });
  // The person's scrolling stays until the add-on moves the list itself.
  const key = panelId + ":" + item.index;
  const remembered = listScroll.get(key);
  const top = remembered && remembered.set === list.scrollPosition ? remembered.top : (list.scrollPosition - 1) * list.rowHeight;
  listScroll.set(key, { set: list.scrollPosition, top });
  node.addEventListener("scroll", () => listScroll.set(key, { set: list.scrollPosition, top: node.scrollTop }));
  requestAnimationFrame(() => { node.scrollTop = top; });
}

function renderItem(panel, item) {
  const act = (extra) => send(Object.assign({ panel: panel.id, item: item.index }, extra));
  let node;
  switch (item.kind) {
    case "button":
      node = element("button", "", item.text);
      node.type = "button";
      node.addEventListener("click", () => act({ do: "click" }));
      break;
    case "check-box":
    case "radio-button": {
      node = element("label");
      const box = element("input");
      box.type = item.kind === "check-box" ? "checkbox" : "radio";
      box.checked = item.checked;
      box.disabled = !item.usable;
      box.addEventListener("click", (event) => {
        event.preventDefault(); // the host decides the state
        act({ do: "click" });
      });
      node.append(box, item.text);
      break;
    }
    case "left-text":
    case "center-text":
    case "right-text":
      node = element("div", "text " + item.kind, item.text);
      break;
    case "icon":
      node = element("div", "icon", item.glyph);
      break;
    case "int-edit":
    case "user-control":
      node = element("input");
      node.value = String(item.value);
      node.inputMode = "numeric";
      node.addEventListener("change", () => {
        act(item.kind === "int-edit" ? { do: "type", text: node.value.trim() } : { do: "user-control", value: parseInt(node.value, 10) });
      });
      node.addEventListener("keydown", (event) => { if (event.key === "Enter") node.blur(); });
      break;
    case "pop-up":
      node = element("select");
      item.choices.forEach((choice, i) => {
        const option = element("option", "", choice);
        option.value = i + 1;
        option.selected = i + 1 === item.selected;
        node.append(option);
      });
      node.addEventListener("change", () => act({ do: "choose", choice: parseInt(node.value, 10) }));
      break;
    case "list":
      node = element("div", "list");
      renderList(panel.id, item, node);
      break;
    case "tab-control":
      node = element("div", "tab-control");
      // A page fills its tab control, whatever size it was last told.
      for (const page of item.pages) node.append(renderPanelBody(page, "tab-page", item.rect));
      break;
    default:
      node = element("div", "", item.text);
  }
  node.classList.add("item", "kind-" + item.kind);
  if (!item.visible) node.classList.add("hidden");
  if (!item.usable) node.classList.add("unusable");
  if (!item.usable && "disabled" in node) node.disabled = true;
  node.id = "p" + panel.id + "-i" + item.index;
  node.dataset.item = item.index;
  node.dataset.kind = item.kind;
  place(node, item.rect);
  return node;
}

function renderPanelBody(panel, className, area = panel) {
  const body = element("div", "panel " + className);
  body.dataset.panel = panel.id;
  body.style.width = area.width + "px";
  body.style.height = area.height + "px";
  for (const item of panel.items) body.append(renderItem(panel, item));
  return body;
}

// Drag the grow box: the host resizes the panel, and the add-on lays out its items again.
function growBox(panel, windowNode) {
  const grip = element("div", "grow-box");
  grip.addEventListener("mousedown", (down) => {
    down.preventDefault();
    const body = windowNode.querySelector(".panel");
    const start = { x: down.clientX, y: down.clientY, width: panel.width, height: panel.height };
    const size = (event) => ({
      width: panel.grows.horizontally ? Math.max(20, start.width + event.clientX - start.x) : start.width,
      height: panel.grows.vertically ? Math.max(20, start.height + event.clientY - start.y) : start.height,
    });
    const move = (event) => {
      const next = size(event);
      body.style.width = next.width + "px";
      body.style.height = next.height + "px";
    };
    const up = (event) => {
      document.removeEventListener("mousemove", move);
      document.removeEventListener("mouseup", up);
      const next = size(event);
      send({ do: "resize", panel: panel.id, width: Math.round(next.width), height: Math.round(next.height) });
    };
    document.addEventListener("mousemove", move);
    document.addEventListener("mouseup", up);
  });
  return grip;
}

// A roll panel's title bar: a click rolls a collapsible panel up or down.
function rollTitle(panel, roll) {
  const bar = element("div", "roll-title" + (roll.collapsible ? " collapsible" : "") + (roll.bottom ? " bottom" : ""));
  bar.dataset.rollItem = roll.item;
  bar.dataset.rolledDown = roll.rolledDown;
  bar.style.top = roll.top + "px";
  bar.style.height = roll.titleHeight + "px";
  bar.style.lineHeight = roll.titleHeight + "px";
  if (roll.collapsible) bar.append(element("span", "roll-mark", roll.rolledDown ? "▾" : "▸"));
  bar.append(roll.title);
  if (roll.collapsible) bar.addEventListener("click", () => send({ do: "roll", panel: panel.id, item: roll.item, down: !roll.rolledDown }));
  return bar;
}

function renderWindow(panel, index) {
  const windowNode = element("section", "window " + panel.kind);
  windowNode.dataset.window = panel.id;
  windowNode.dataset.title = panel.title;
  const title = element("div", "window-title");
  title.append(element("span", "", panel.title));
  if (panel.closeBox) {
    const close = element("button", "close-box", "×");
    close.type = "button";
    close.title = "Close";
    close.addEventListener("click", () => send({ do: "close-box", panel: panel.id }));
    title.append(close);
  }
  const body = renderPanelBody(panel, "dialog-body");
  for (const roll of panel.rollPanels || []) body.append(rollTitle(panel, roll));
  windowNode.append(title, body);
  if (panel.grows.horizontally || panel.grows.vertically) windowNode.append(growBox(panel, windowNode));
  if (panel.kind !== "modal-dialog") {
    windowNode.style.left = 16 + 24 * index + "px";
    windowNode.style.top = 16 + 24 * index + "px";
  }
  return windowNode;
}

// ---- The whole window ----------------------------------------------------------------------

// An edit the person is typing into keeps its text and caret across a redraw.
function keepFocus(draw) {
  const focused = document.activeElement;
  const id = focused && focused.id && focused.tagName === "INPUT" ? focused.id : null;
  const typed = id ? { value: focused.value, start: focused.selectionStart, end: focused.selectionEnd } : null;
  draw();
  if (!id) return;
  const again = $(id);
  if (!again) return;
  again.value = typed.value;
  again.focus();
  try { again.setSelectionRange(typed.start, typed.end); } catch (e) { /* not a text field */ }
}

function render(next) {
  state = next;
  document.body.classList.toggle("busy", next.busy);
  $("project-name").textContent = next.project ? next.project.name : "No project open";
  document.title = (next.project ? next.project.name + " – " : "") + "facetally-host";
  renderMenus(next.menus);

  const transcript = $("transcript");
  transcript.replaceChildren(...next.transcript.map((entry) => element("li", entry.kind, entry.text)));
  transcript.scrollTop = transcript.scrollHeight;

  const progress = next.progress;
  $("progress-window").hidden = !progress.open;
  if (progress.open) {
    $("progress-title").textContent = progress.title;
    $("progress-label").textContent = progress.label;
    $("progress-text").textContent = progress.text;
    $("progress-count").textContent = progress.reading;
    const share = progress.maximum > 0 ? Math.min(1, Math.max(0, progress.value / progress.maximum)) : 0;
    $("progress-bar").style.width = share * 100 + "%";
    $("progress-stop").disabled = progress.stopRequested;
  }

  // Windows are drawn again only when they changed, so a person's typing and scrolling stay.
  const windows = JSON.stringify(next.windows) + $("show-bars").checked;
  if (windows === drawnWindows) return renderStatus(next);
  drawnWindows = windows;
  keepFocus(() => {
    const modeless = next.windows.filter((panel) => panel.kind !== "modal-dialog");
    const modal = next.windows.filter((panel) => panel.kind === "modal-dialog");
    $("windows").replaceChildren(...modeless.map(renderWindow));
    $("modal-layer").replaceChildren(...modal.map(renderWindow));
    $("modal-layer").hidden = modal.length === 0;
  });
  renderStatus(next);
}

function renderStatus(next) {
  // The 3D view lays itself out beside the windows just drawn.
  if (typeof view3d !== "undefined") view3d.render(next);
  const selection = next.project ? next.project.selection.items : [];
  $("selection").textContent = selection.length === 0 ? "Nothing selected"
    : "Selected: " + selection.map((item) => item.element + (item.part ? " (" + item.part + ")" : "")).join(", ");
  if (next.quit) {
    $("connection").textContent = "The host has quit.";
    events.close();
  }
}

// Takes the report lines of a state; false when they do not follow those held (the page fell
// behind), and then nothing is taken.
function takeReport(sent) {
  const fresh = sent.start === 0;
  if (!fresh && (sent.clearings !== report.clearings || sent.start !== report.lines.length)) return false;
  const shown = $("report");
  const atEnd = shown.scrollTop + shown.clientHeight >= shown.scrollHeight - 4;
  if (fresh) {
    report.lines = sent.lines.slice();
    shown.textContent = report.lines.join("\n");
  } else if (sent.lines.length > 0) {
    shown.append((report.lines.length > 0 ? "\n" : "") + sent.lines.join("\n"));
    for (const line of sent.lines) report.lines.push(line);
  }
  report.clearings = sent.clearings;
  if (atEnd) shown.scrollTop = shown.scrollHeight;
  return true;
}

function receive(next) {
  if (takeReport(next.report)) return render(next);
  fetch("api/state").then((response) => response.json()).then((whole) => {
    takeReport(whole.report);
    render(whole);
  }).catch(() => setConnection(false));
}

const events = new EventSource("api/events");
events.onopen = () => setConnection(true);
events.onerror = () => setConnection(false);
events.onmessage = (message) => receive(JSON.parse(message.data));
