// The state the program shows for the selection, gathered in one go: every
// command's status, the font name and size, the selection kind and the
// element at the caret. After each change it is pushed to the C++ side over
// the web channel, which exists in this script world only.
'use strict';

orv.state = {
    seq: 0,           // with the document's start, orders the snapshots: an older one never replaces a newer
    host: null,       // the surface's object on the channel, once connected
    unsent: false,    // a push came before the channel was connected

    snapshot() {
        const status = {};
        for (const name of orv.cmd.names())
            status[name] = orv.cmd.status(name);
        let element = '';
        if (document.body) {
            const node = orv.selection.range().startContainer;
            const el = node.nodeType === Node.ELEMENT_NODE ? node : node.parentElement;
            element = el ? el.tagName : '';
        }
        return {
            origin: performance.timeOrigin,
            seq: ++orv.state.seq,
            status: status,
            values: {
                getFontName: orv.cmd.exec('getFontName'),
                getFontSize: orv.cmd.exec('getFontSize'),
            },
            selection: orv.selection.type(),
            element: element,
        };
    },

    push() {
        if (!orv.state.host) {
            orv.state.unsent = true;
            return;
        }
        orv.state.host.push(JSON.stringify(orv.state.snapshot()));
    },

};

const stateChannel = new QWebChannel(qt.webChannelTransport, channel => {
    orv.state.host = channel.objects.surface;
    if (orv.state.unsent) {
        orv.state.unsent = false;
        orv.state.push();
    }
});
// The transport outlives a document: an answer meant for the document this
// one replaced has no callback here and is dropped.
const channelMessage = qt.webChannelTransport.onmessage;
qt.webChannelTransport.onmessage = message => {
    const data = typeof message.data === 'string' ? JSON.parse(message.data) : message.data;
    if (data.type === QWebChannelMessageTypes.response && !(data.id in stateChannel.execCallbacks))
        return;
    channelMessage(message);
};
