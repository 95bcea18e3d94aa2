// SPDX-License-Identifier: GPL-3.0-or-later
'use strict';
// The view and the control page: one WebSocket to the timer, the display counted on between
// its messages, and on the control page the commands.
(() => {
  const digits = document.getElementById('digits');
  const message = document.getElementById('message');
  const lost = document.getElementById('lost');
  const stage = document.getElementById('stage');
  const token = new URLSearchParams(location.search).get('t');
  const control = document.body.classList.contains('control') && token;
  let socket = null;
  let lastNews = 0;
  let state = null;
  let localTick = null;
  let wakeLock = null;

  // As the window writes it: at least two digits, the sign in front, hours unlimited.
  const two = (v) => (v < 0 ? '-' : '') + String(Math.abs(v)).padStart(2, '0');
  const displayOf = (r) => {
    const h = Math.trunc(r / 3600);
    const m = Math.trunc((r - h * 3600) / 60);
    const s = r - h * 3600 - m * 60;
    return two(h) + ':' + two(m) + ':' + two(s);
  };

  function fit() {
    // The largest size at which the digits fit the stage, upright or sideways.
    digits.style.fontSize = '100px';
    const box = stage.getBoundingClientRect();
    const text = digits.getBoundingClientRect();
    const room = message.textContent ? 0.62 : 0.85;
    const size = Math.min((box.width * 0.94) / text.width, (box.height * room) / text.height) * 100;
    digits.style.fontSize = Math.max(8, Math.floor(size)) + 'px';
  }

  function show(display) {
    if (digits.textContent !== display) {
      const resize = digits.textContent.length !== display.length;
      digits.textContent = display;
      if (resize) fit();
    }
  }

  async function keepAwake(on) {
    // Only in a secure context (localhost); over plain http on the network the browser has
    // no wake lock and the screen follows its own settings.
    if (!('wakeLock' in navigator)) return;
    try {
      if (on && !wakeLock) {
        wakeLock = await navigator.wakeLock.request('screen');
        wakeLock.addEventListener('release', () => { wakeLock = null; });
      } else if (!on && wakeLock) {
        await wakeLock.release();
        wakeLock = null;
      }
    } catch (e) { wakeLock = null; }
  }

  function countOn(remaining, wait) {
    clearTimeout(localTick);
    localTick = setTimeout(() => {
      // The window ends at zero; below zero it runs on.
      if (remaining === 1 || !state || state.state !== 'running') return;
      show(displayOf(remaining - 1));
      countOn(remaining - 1, 1000);
    }, wait);
  }

  function apply(next) {
    state = next;
    document.body.style.background = next.background || '#000';
    digits.style.color = next.color || '#f00';
    message.style.color = next.color || '#f00';
    if (message.textContent !== next.message) {
      message.textContent = next.message;
      fit();
    }
    show(next.display);
    clearTimeout(localTick);
    if (next.state === 'running' && typeof next.next === 'number')
      countOn(next.remaining, next.next);
    keepAwake(next.state === 'running');
    document.querySelectorAll('[data-cmd]').forEach((b) => {
      const c = b.dataset.cmd;
      b.disabled = (c === 'start' && next.state !== 'idle') ||
                   (c === 'pause' && next.state !== 'running') ||
                   (c === 'resume' && next.state !== 'paused') ||
                   ((c === 'end' || c === 'add') && next.state === 'idle');
    });
  }

  function connect() {
    const url = 'ws://' + location.host + '/ws' + (control ? '?t=' + encodeURIComponent(token) : '');
    socket = new WebSocket(url);
    socket.onmessage = (event) => {
      lastNews = performance.now();
      lost.hidden = true;
      let data;
      try { data = JSON.parse(event.data); } catch (e) { return; }
      if ('state' in data) apply(data);
      else if ('status' in data) feedback(data.status);
    };
    socket.onclose = () => { socket = null; setTimeout(connect, 1000); };
  }

  setInterval(() => {
    if (performance.now() - lastNews > 3000) {
      lost.hidden = false;
      clearTimeout(localTick);
      if (socket && socket.readyState === WebSocket.OPEN) socket.close();
    }
  }, 500);

  stage.addEventListener('click', () => {
    if (!document.fullscreenElement && document.documentElement.requestFullscreen)
      document.documentElement.requestFullscreen().catch(() => {});
    else if (document.exitFullscreen) document.exitFullscreen().catch(() => {});
  });
  window.addEventListener('resize', fit);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible' && state) keepAwake(state.state === 'running');
  });

  // The control page.
  const feedbackLine = document.getElementById('feedback');
  const reasons = { 200: '', 400: '输入有误', 401: '需要遥控链接', 403: '遥控链接已失效', 409: '当前状态不能执行' };
  function feedback(status) {
    if (feedbackLine) feedbackLine.textContent = status in reasons ? reasons[status] : '出错 ' + status;
  }
  function send(command) {
    if (socket && socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify(command));
  }
  // 1:30:00, 25:00, 1h30m, 25m, 90s, or plain seconds.
  function seconds(text) {
    text = text.trim().toLowerCase();
    let m = text.match(/^(\d{1,2}):(\d{1,2}):(\d{1,2})$/);
    if (m) return +m[1] * 3600 + +m[2] * 60 + +m[3];
    m = text.match(/^(\d{1,4}):(\d{1,2})$/);
    if (m) return +m[1] * 60 + +m[2];
    m = text.match(/^(?:(\d+)h)?(?:(\d+)m)?(?:(\d+)s)?$/);
    if (m && (m[1] || m[2] || m[3])) return (+m[1] || 0) * 3600 + (+m[2] || 0) * 60 + (+m[3] || 0);
    if (/^\d+$/.test(text)) return +text;
    return null;
  }
  if (control) {
    document.querySelectorAll('[data-cmd]').forEach((b) => b.addEventListener('click', () => {
      const command = { cmd: b.dataset.cmd };
      if (b.dataset.seconds) command.seconds = +b.dataset.seconds;
      if (b.dataset.mode) command.mode = b.dataset.mode;
      if (command.cmd === 'start') {
        const text = document.getElementById('duration').value;
        if (text.trim()) {
          const s = seconds(text);
          if (s === null) { feedback(400); return; }
          command.seconds = s;
        }
      }
      send(command);
    }));
    const input = document.getElementById('text');
    document.getElementById('send').addEventListener('click', () => send({ cmd: 'message', text: input.value }));
    document.getElementById('clear').addEventListener('click', () => { input.value = ''; send({ cmd: 'message', text: '' }); });
  } else if (document.getElementById('panel')) {
    document.getElementById('panel').hidden = true;
  }

  lastNews = performance.now();
  fit();
  connect();
})();
