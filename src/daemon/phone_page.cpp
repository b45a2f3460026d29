#include "daemon/phone_page.h"

namespace {

// clang-format off
const char* const kHtml = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1, viewport-fit=cover">
<meta name="referrer" content="no-referrer">
<meta name="theme-color" content="#1b1e23">
<title>QX7</title>
<style>
:root { --top:#1b1e23; --bottom:#111316; --panel:#21252b; --border:#2e333b; --well:#0c0d10;
  --accent:#2bb8ec; --accent-deep:#127fbf; --glyph:#b4bac3; --dim:#7d848e; --red:#e5484d; --green:#34c779; --amber:#f6c25a; }
* { box-sizing:border-box; }
html, body { margin:0; min-height:100%; background:linear-gradient(var(--top), var(--bottom)) fixed;
  color:var(--glyph); font:16px/1.35 system-ui, "WenQuanYi Micro Hei", "Noto Sans CJK SC", sans-serif; }
main { max-width:760px; margin:0 auto; padding:12px 14px 28px; display:grid; gap:12px; }
header { display:flex; align-items:center; gap:10px; }
h1 { font-size:20px; margin:0; color:#e6e9ed; flex:1; letter-spacing:.02em; }
#state { display:flex; align-items:center; gap:8px; padding:10px 12px; border-radius:10px;
  background:var(--well); border:1px solid var(--border); min-height:44px; }
#state::before { content:""; width:12px; height:12px; border-radius:50%; background:var(--dim); flex:none; }
#state[data-state=connected]::before { background:var(--green); }
#state[data-state=reading]::before, #state[data-state=searching]::before { background:var(--amber); }
#state[data-state=offline]::before, #state[data-state=stopped]::before, #state[data-state=error]::before { background:var(--red); }
section { background:linear-gradient(#21252b, #191c21); border:1px solid var(--border); border-radius:14px; padding:12px 14px; }
.volumes { display:grid; gap:6px; }
.tablet .volumes { grid-template-columns:1fr 1fr; column-gap:22px; }
.volume label { display:flex; justify-content:space-between; font-size:15px; }
.volume output { color:#e6e9ed; font-variant-numeric:tabular-nums; }
input[type=range] { width:100%; height:48px; margin:0; background:transparent; -webkit-appearance:none; appearance:none; touch-action:none; }
input[type=range]::-webkit-slider-runnable-track { height:10px; border-radius:5px; background:var(--well); border:1px solid var(--border); }
input[type=range]::-webkit-slider-thumb { -webkit-appearance:none; width:34px; height:34px; margin-top:-13px; border-radius:50%;
  background:linear-gradient(#6fd6ff, var(--accent-deep)); border:2px solid #0a4f7a; }
input[type=range]::-moz-range-track { height:10px; border-radius:5px; background:var(--well); border:1px solid var(--border); }
input[type=range]::-moz-range-thumb { width:34px; height:34px; border-radius:50%; background:linear-gradient(#6fd6ff, var(--accent-deep)); border:2px solid #0a4f7a; }
.row { display:flex; gap:10px; align-items:center; flex-wrap:wrap; }
.row > .grow { flex:1; min-width:150px; }
.title { font-size:13px; color:var(--dim); text-transform:uppercase; letter-spacing:.06em; margin:0 0 8px; }
select, button { font:inherit; min-height:48px; border-radius:10px; padding:0 14px; color:#e6e9ed;
  background:linear-gradient(#3d424b, #2b2f36); border:1px solid #0b0c0f; }
select { width:100%; }
button { min-width:96px; cursor:pointer; }
button:active { background:linear-gradient(#2b2f36, #3d424b); }
button.on { background:linear-gradient(#f26d71, #b3282d); }
.sources { display:grid; grid-template-columns:repeat(auto-fill, minmax(92px, 1fr)); gap:8px; }
.sources button { min-width:0; }
.sources button.on { background:linear-gradient(#6fd6ff, var(--accent-deep)); color:#04111a; border-color:#0a4f7a; }
#mute { width:100%; font-size:18px; min-height:56px; }
footer { display:flex; justify-content:flex-end; }
footer select { width:auto; min-height:44px; }
[disabled] { opacity:.45; }
</style>
</head>
<body>
<main>
  <header><h1 data-text="title">QX7 Remote</h1></header>
  <div id="state" role="status" data-state="offline"></div>
  <section>
    <div class="volumes" id="volumes"></div>
  </section>
  <section><button id="mute" type="button" data-text="mute">Mute</button></section>
  <section>
    <p class="title" data-text="input">Input</p>
    <div class="sources" id="sources"></div>
  </section>
  <section>
    <p class="title" data-text="mode">Mode</p>
    <div class="row"><div class="grow"><select id="mode"></select></div>
      <button id="recall" type="button" data-text="recall">Recall</button></div>
  </section>
  <footer><select id="language" aria-label="Language">
    <option value="0">简体中文</option><option value="1">繁體中文</option><option value="2">English</option>
  </select></footer>
</main>
<script>
"use strict";
const MASTERS = [["music", 1602], ["mic", 1603], ["effect", 1604], ["micb", 1605]];
const INPUT_INDEX = 1620, MODE_INDEX = 1628;
const $ = (id) => document.getElementById(id);
const state = { token:"", texts:{}, language:2, link:"offline", read:false, dragging:{}, sources:[], source:null,
  modes:[], current:0, socket:null, retry:null, pendingSend:{}, sendTimer:{} };

function takeToken() {
  const m = /(?:^#|&)token=([0-9A-Fa-f]+)/.exec(location.hash);
  if (m) { sessionStorage.setItem("qx7-token", m[1]); history.replaceState(null, "", location.pathname); }
  return sessionStorage.getItem("qx7-token") || "";
}
function text(key) { const t = state.texts[key]; return t ? t[state.language] : key; }
function chooseLanguage() {
  const kept = localStorage.getItem("qx7-language");
  if (kept !== null) return Number(kept);
  const asked = (navigator.language || "en").toLowerCase();
  if (/^zh-(tw|hk|mo|hant)/.test(asked)) return 1;
  return asked.startsWith("zh") ? 0 : 2;
}
async function api(method, path, body) {
  const options = { method, headers:{ "Authorization":"Bearer " + state.token } };
  if (body !== undefined) { options.headers["Content-Type"] = "application/json"; options.body = JSON.stringify(body); }
  const reply = await fetch(path, options);
  const data = await reply.json().catch(() => ({}));
  if (!reply.ok) throw Object.assign(new Error((data.error && data.error.message) || reply.status), { status:reply.status });
  return data;
}
function showState() {
  const s = $("state");
  let key = state.link;
  if (state.link === "connected" && !state.read) key = "reading";
  if (!state.token) key = "no_token";
  s.dataset.state = key === "no_token" ? "error" : key;
  s.textContent = text(key);
  const usable = state.link === "connected" && state.read;
  document.querySelectorAll("input, #sources button, #mode, #recall, #mute").forEach((e) => { e.disabled = !usable; });
}
function applyTexts() {
  document.documentElement.lang = ["zh-Hans", "zh-Hant", "en"][state.language];
  document.querySelectorAll("[data-text]").forEach((e) => { e.textContent = text(e.dataset.text); });
  document.title = text("title");
  $("mute").textContent = text(muted() ? "unmute" : "mute");
  $("mute").classList.toggle("on", muted());
  buildSources(); buildModes(); showState();
}
function buildVolumes() {
  const box = $("volumes");
  box.innerHTML = "";
  for (const [name] of MASTERS) {
    const div = document.createElement("div");
    div.className = "volume";
    div.innerHTML = `<label for="vol-${name}"><span data-text="${name}">${text(name)}</span><output id="out-${name}">0 %</output></label>` +
      `<input type="range" id="vol-${name}" min="0" max="100" step="1" value="0">`;
    box.appendChild(div);
    const slider = div.querySelector("input");
    slider.addEventListener("pointerdown", () => { state.dragging[name] = true; });
    const end = () => { state.dragging[name] = false; };
    slider.addEventListener("pointerup", end);
    slider.addEventListener("pointercancel", end);
    slider.addEventListener("input", () => { showVolume(name, Number(slider.value)); sendVolume(name, Number(slider.value)); });
    slider.addEventListener("change", () => { end(); sendVolume(name, Number(slider.value), true); });
  }
}
function showVolume(name, percent) {
  $("out-" + name).textContent = percent + " %";
}
function setVolume(name, percent) {
  if (state.dragging[name]) return;
  $("vol-" + name).value = percent;
  showVolume(name, percent);
}
// At most one write per control every 60 ms while a finger moves; the last value always goes.
function sendVolume(name, percent, now) {
  state.pendingSend[name] = percent;
  if (state.sendTimer[name] && !now) return;
  clearTimeout(state.sendTimer[name]);
  const flush = () => {
    state.sendTimer[name] = null;
    if (!(name in state.pendingSend)) return;
    const body = {}; body[name] = state.pendingSend[name];
    delete state.pendingSend[name];
    api("PUT", "/api/v1/master", body).catch(report);
    state.sendTimer[name] = setTimeout(flush, 60);
  };
  flush();
}
function buildSources() {
  const box = $("sources");
  box.innerHTML = "";
  for (const name of state.sources) {
    const b = document.createElement("button");
    b.type = "button"; b.id = "source-" + name; b.dataset.source = name;
    b.textContent = state.texts["source_" + name] ? text("source_" + name) : name;
    b.classList.toggle("on", name === state.source);
    b.addEventListener("click", () => api("PUT", "/api/v1/input", { source:name }).then(showInput).catch(report));
    box.appendChild(b);
  }
  showState();
}
function showInput(data) {
  state.sources = data.sources; state.source = data.source;
  document.querySelectorAll("#sources button").forEach((b) => b.classList.toggle("on", b.dataset.source === state.source));
  if (!document.querySelector("#sources button")) buildSources();
}
function buildModes() {
  const select = $("mode");
  const chosen = select.value;
  select.innerHTML = "";
  for (const m of state.modes) {
    const o = document.createElement("option");
    o.value = m.number;
    o.textContent = m.number + "  " + (m.name || text("unnamed").replace("%d", m.number));
    select.appendChild(o);
  }
  select.value = chosen || state.current || 1;
}
function muted() { return sessionStorage.getItem("qx7-muted") !== null; }
async function toggleMute() {
  if (muted()) {
    const kept = JSON.parse(sessionStorage.getItem("qx7-muted"));
    sessionStorage.removeItem("qx7-muted");
    await api("PUT", "/api/v1/master", kept).then(showMaster).catch(report);
  } else {
    const now = await api("GET", "/api/v1/master");
    delete now.limits;
    sessionStorage.setItem("qx7-muted", JSON.stringify(now));
    await api("PUT", "/api/v1/master", { music:0, mic:0, effect:0, micb:0 }).then(showMaster).catch(report);
  }
  applyTexts();
}
function showMaster(data) {
  for (const [name] of MASTERS) {
    $("vol-" + name).max = data.limits[name];
    setVolume(name, data[name]);
  }
}
function report(error) {
  if (error.status === 401) state.token = "";
  const s = $("state");
  s.dataset.state = "error";
  s.textContent = error.status === 401 ? text("no_token") : String(error.message);
  setTimeout(showState, 2500);
}
async function refresh() {
  const status = await api("GET", "/api/v1/status");
  state.link = status.connection; state.read = status.read;
  state.modes = status.modes; state.current = status.current_mode || 0;
  buildModes();
  showState();
  if (!state.read) return;
  showMaster(await api("GET", "/api/v1/master"));
  showInput(await api("GET", "/api/v1/input"));
  $("mode").value = state.current;
}
function onEvent(message) {
  const e = JSON.parse(message.data);
  if (e.type === "parameter") {
    const master = MASTERS.find(([, index]) => index === e.index);
    if (master) setVolume(master[0], e.value % 500);
    else if (e.index === INPUT_INDEX || e.index === MODE_INDEX) refresh().catch(report);
  } else if (e.type === "link") {
    const wasRead = state.read;
    state.link = e.connection; state.read = e.read;
    showState();
    if (e.read && !wasRead) refresh().catch(report);
  } else if (e.type === "values_replaced") {
    refresh().catch(report);
  }
}
function listen() {
  const scheme = location.protocol === "https:" ? "wss://" : "ws://";
  const socket = new WebSocket(scheme + location.host + "/api/v1/events?token=" + state.token);
  state.socket = socket;
  socket.onmessage = onEvent;
  socket.onopen = () => refresh().catch(report);
  socket.onclose = () => {
    state.link = "offline"; showState();
    clearTimeout(state.retry);
    state.retry = setTimeout(listen, 2000);
  };
}
async function start() {
  state.token = takeToken();
  state.language = chooseLanguage();
  $("language").value = state.language;
  buildVolumes();
  try { state.texts = (await api("GET", "/api/v1/texts")).texts; } catch (e) { /* keeps the English keys */ }
  applyTexts();
  $("language").addEventListener("change", () => {
    state.language = Number($("language").value);
    localStorage.setItem("qx7-language", state.language);
    applyTexts();
  });
  if (!state.token) return;
  $("mute").addEventListener("click", () => toggleMute().catch(report));
  $("recall").addEventListener("click", () => api("POST", "/api/v1/modes/" + $("mode").value + "/recall").then(refresh).catch(report));
  const tablet = () => document.body.classList.toggle("tablet", innerWidth >= 700);
  addEventListener("resize", tablet); tablet();
  listen();
}
start();
</script>
</body>
</html>
)html";
// clang-format on

}  // namespace

const std::string& PhonePage::html() {
    static const std::string kText = kHtml;
    return kText;
}
